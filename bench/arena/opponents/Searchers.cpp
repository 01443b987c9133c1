// Alpha-beta minimax over a line-count evaluation: a line that one side alone holds counts for that
// side by the marks it holds (fixed: 1, 8, 64 for one, two, three, alike for both sides). The
// family draws the depth (1 to 4), the weights of each side, whether equal moves are broken at
// random or by the move order, how often a move among the first few of that order slips in where
// nothing is urgent, and how often it opens on any of the 64 cells. The deep family is 3 or 4
// plies deep, never slips, always opens as its search says, and weighs each side's marks as powers
// of a base near the plain count's: players that walk one line every game, as a fixed deep searcher
// does. The shallow family is the searchers at depth 2 only, so that a climb can weigh that depth
// apart.
#include "bench/arena/opponents/Players.h"

#include <algorithm>
#include <cmath>

namespace ttt::bench {

namespace {

struct Params {
    int depth = 2;
    int mine[5] = {0, 1, 8, 64, 0};   // X's lines, by the X they hold (a full line ends the game)
    int theirs[5] = {0, 1, 8, 64, 0}; // O's lines
    bool firstOfEquals = false;
    double slip = 0;
    double anyOpening = 0; // how often the first move is any of the 64 cells
};

class AlphaBeta : public Opponent {
  public:
    AlphaBeta(int depth, SearchFamily family) : family_(family) { params_.depth = depth; }

    void newGame(std::mt19937 &rng) override {
        if (family_ == SearchFamily::None)
            return;
        Params p;
        const bool deep = family_ == SearchFamily::Deep;
        // Drawn by every family alike, so shallow#N is searchers#N at depth 2.
        const double r = uniform(rng, 0, 1);
        p.depth = deep ? (r < 0.5 ? 3 : 4) : r < 0.1 ? 1 : r < 0.45 ? 2 : r < 0.85 ? 3 : 4;
        if (family_ == SearchFamily::Shallow)
            p.depth = 2;
        for (int *w : {p.mine, p.theirs}) {
            if (deep) {
                // Near the plain count: each side's marks weigh as powers of its own base.
                const double b = uniform(rng, 6, 10);
                w[1] = 1;
                w[2] = static_cast<int>(std::lround(b));
                w[3] = static_cast<int>(std::lround(b * b));
            } else {
                w[1] = 1 + below(rng, 3);
                w[2] = 4 + below(rng, 20);
                w[3] = 30 + below(rng, 130);
            }
        }
        p.firstOfEquals = uniform(rng, 0, 1) < 0.5;
        p.slip = deep ? 0 : uniform(rng, 0, 0.1);
        // Drawn last, so a member keeps the depth and weights it had before openings varied.
        if (!deep)
            p.anyOpening = uniform(rng, 0, 0.5);
        params_ = p;
    }

    int choose(const Board &board, std::mt19937 &rng) override {
        Position p(board);
        if (params_.anyOpening > 0 && emptyCells(p).size() == kCells &&
            uniform(rng, 0, 1) < params_.anyOpening)
            return pick(emptyCells(p), rng);
        const std::vector<int> moves = ordered(p);
        // A slip never passes over a win or a block.
        if (params_.slip > 0 && uniform(rng, 0, 1) < params_.slip && winningCells(p, kUser).empty() &&
            winningCells(p, kComputer).empty())
            return pick(std::vector<int>(moves.begin(), moves.begin() + std::min<std::size_t>(4, moves.size())), rng);
        int score = 0;
        for (int line = 0; line < kLines; ++line)
            score += lineValue(p.xs(line), p.os(line));
        std::vector<int> top;
        int high = -kInfinity;
        for (int m : moves) {
            const int delta = play(p, m, kUser);
            // A window just below the best so far keeps every score that equals it exact.
            const int s = p.completed(m) ? kWin
                                     : -search(p, -(score + delta), params_.depth - 1, 1, -kInfinity, -(high - 1), kComputer);
            p.undo(m);
            if (s > high) {
                high = s;
                top.clear();
            }
            if (s == high)
                top.push_back(m);
        }
        return params_.firstOfEquals ? top.front() : pick(top, rng);
    }

  private:
    static constexpr int kInfinity = 1 << 30;
    static constexpr int kWin = 1 << 20;

    int lineValue(int x, int o) const { return o == 0 ? params_.mine[x] : x == 0 ? -params_.theirs[o] : 0; }

    // Plays the move and returns the change of the evaluation, from X's side.
    int play(Position &p, int cell, int16 side) const {
        int before = 0, after = 0;
        const auto &lines = Geometry::get().through[static_cast<std::size_t>(cell)];
        for (int line : lines)
            before += lineValue(p.xs(line), p.os(line));
        p.play(cell, side);
        for (int line : lines)
            after += lineValue(p.xs(line), p.os(line));
        return after - before;
    }

    // Cells on more live lines first, so that cut-offs come early.
    static std::vector<int> ordered(const Position &p) {
        std::vector<std::pair<int, int>> scored;
        for (int k = 1; k <= kCells; ++k) {
            if (!p.empty(k))
                continue;
            int s = 0;
            for (int line : Geometry::get().through[static_cast<std::size_t>(k)]) {
                const int x = p.xs(line), o = p.os(line);
                if (x == 0 || o == 0)
                    s += 1 + (x + o) * (x + o);
            }
            scored.emplace_back(-s, k);
        }
        std::sort(scored.begin(), scored.end());
        std::vector<int> out;
        for (auto [s, k] : scored)
            out.push_back(k);
        return out;
    }

    // `score` is the evaluation from the side to move.
    int search(Position &p, int score, int depth, int ply, int alpha, int beta, int16 side) {
        if (depth <= 0)
            return score;
        int high = -kInfinity;
        const auto visit = [&](int m) {
            const int delta = play(p, m, side) * (side == kUser ? 1 : -1);
            const int s = p.completed(m) ? kWin - ply : -search(p, -(score + delta), depth - 1, ply + 1, -beta, -alpha, other(side));
            p.undo(m);
            high = std::max(high, s);
            alpha = std::max(alpha, s);
            return alpha >= beta;
        };
        if (depth == 1) {
            // Ordering buys little just above the leaves.
            for (int k = 1; k <= kCells; ++k)
                if (p.empty(k) && visit(k))
                    break;
        } else {
            for (int m : ordered(p))
                if (visit(m))
                    break;
        }
        return high == -kInfinity ? 0 : high;
    }

    Params params_;
    SearchFamily family_;
};

} // namespace

std::unique_ptr<Opponent> makeSearcher(int depth, SearchFamily family) {
    return std::make_unique<AlphaBeta>(depth, family);
}

} // namespace ttt::bench
