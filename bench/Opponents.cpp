#include "bench/Opponents.h"

#include <algorithm>
#include <limits>
#include <set>

namespace ttt::bench {

namespace {

int pick(const std::vector<int> &cells, std::mt19937 &rng) {
    return cells[std::uniform_int_distribution<std::size_t>(0, cells.size() - 1)(rng)];
}

std::vector<int> emptyCells(const Position &p) {
    std::vector<int> out;
    for (int k = 1; k <= kCells; ++k)
        if (p.empty(k))
            out.push_back(k);
    return out;
}

// The cells with the highest score, one of them at random.
template <typename Score> int best(const std::vector<int> &cells, std::mt19937 &rng, Score score) {
    std::vector<int> top;
    long high = std::numeric_limits<long>::min();
    for (int k : cells) {
        const long s = score(k);
        if (s > high) {
            high = s;
            top.clear();
        }
        if (s == high)
            top.push_back(k);
    }
    return pick(top, rng);
}

class RandomPlayer : public Opponent {
  public:
    int choose(const Board &board, std::mt19937 &rng) override { return pick(emptyCells(Position(board)), rng); }
};

class Greedy : public Opponent {
  public:
    int choose(const Board &board, std::mt19937 &rng) override {
        const Position p(board);
        if (int k = urgent(p, rng))
            return k;
        return fallback(p, rng);
    }

  protected:
    static int urgent(const Position &p, std::mt19937 &rng) {
        if (auto win = winningCells(p, kUser); !win.empty())
            return pick(win, rng);
        if (auto block = winningCells(p, kComputer); !block.empty())
            return pick(block, rng);
        return 0;
    }
    virtual int fallback(const Position &p, std::mt19937 &rng) { return pick(emptyCells(p), rng); }
};

class Forks : public Greedy {
  protected:
    int fallback(const Position &p, std::mt19937 &rng) override {
        if (auto fork = forkCells(p, kUser); !fork.empty())
            return pick(fork, rng);
        if (int k = beforeBlocking(p, rng))
            return k;
        if (auto theirs = forkCells(p, kComputer); !theirs.empty())
            return best(theirs, rng, [&](int k) { return openness(p, k); });
        return best(emptyCells(p), rng, [&](int k) { return openness(p, k); });
    }
    virtual int beforeBlocking(const Position &, std::mt19937 &) { return 0; }

    // Lines through the cell still open to X count more the more X they hold; lines that only the
    // computer can still use count for blocking them.
    static long openness(const Position &p, int cell) {
        long s = 0;
        for (int line : Geometry::get().through[static_cast<std::size_t>(cell)]) {
            if (p.os(line) == 0)
                s += 1 + 2 * p.xs(line);
            else if (p.xs(line) == 0)
                s += p.os(line);
        }
        return s;
    }
};

class Threats : public Forks {
  protected:
    // The shortest forced win found, so that each move of the chain brings the double threat closer.
    int beforeBlocking(const Position &start, std::mt19937 &rng) override {
        Position p = start;
        nodes_ = 0;
        for (int depth = 1; depth <= kDepth && nodes_ <= kNodeLimit; ++depth) {
            failed_.clear();
            std::vector<int> firsts;
            for (int m : threatMoves(p))
                if (forces(p, m, depth))
                    firsts.push_back(m);
            if (!firsts.empty())
                return pick(firsts, rng);
        }
        return 0;
    }

  private:
    static constexpr int kDepth = 8;
    static constexpr long kNodeLimit = 20000;

    // Empty cells of lines with two X and no O, each once, in cell order.
    static std::vector<int> threatMoves(const Position &p) {
        std::array<bool, kCells + 1> seen{};
        for (int line = 0; line < kLines; ++line)
            if (p.xs(line) == 2 && p.os(line) == 0)
                for (int cell : Geometry::get().lines[static_cast<std::size_t>(line)])
                    seen[static_cast<std::size_t>(cell)] = seen[static_cast<std::size_t>(cell)] || p.empty(cell);
        std::vector<int> out;
        for (int k = 1; k <= kCells; ++k)
            if (seen[static_cast<std::size_t>(k)])
                out.push_back(k);
        return out;
    }

    // Does X playing m start a forced win: m makes a double threat, or a single three whose forced
    // block leaves the computer no three of its own and lets the chain go on?
    bool forces(Position &p, int m, int depth) {
        ++nodes_;
        const int made = threatsMade(p, m, kUser);
        if (made >= 2)
            return true;
        if (depth <= 1 || nodes_ > kNodeLimit)
            return false;
        p.play(m, kUser);
        // Chains reach the same position in many orders; one that failed fails again.
        const auto key = std::make_pair(bits(p, kUser), bits(p, kComputer));
        if (failed_.count(key)) {
            p.undo(m);
            return false;
        }
        int reply = 0;
        for (int line : Geometry::get().through[static_cast<std::size_t>(m)])
            if (p.xs(line) == 3 && p.os(line) == 0)
                reply = p.gap(line);
        bool won = false;
        if (reply) {
            p.play(reply, kComputer);
            if (!completes(p, reply, kComputer)) {
                for (int next : threatMoves(p))
                    if ((won = forces(p, next, depth - 1)))
                        break;
            }
            p.undo(reply);
        }
        p.undo(m);
        if (!won)
            failed_.insert(key);
        return won;
    }

    static std::uint64_t bits(const Position &p, int16 side) {
        std::uint64_t out = 0;
        for (int k = 1; k <= kCells; ++k)
            if (p.cells[static_cast<std::size_t>(k)] == side)
                out |= std::uint64_t{1} << (k - 1);
        return out;
    }

    // Did the computer's block just make a line of three O of its own? Then X must answer it.
    static bool completes(const Position &p, int cell, int16 side) {
        for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
            if (p.count(line, side) >= 3 && p.count(line, other(side)) == 0)
                return true;
        return false;
    }

    long nodes_ = 0;
    std::set<std::pair<std::uint64_t, std::uint64_t>> failed_;
};

class AlphaBeta : public Opponent {
  public:
    explicit AlphaBeta(int depth) : depth_(depth) {}

    int choose(const Board &board, std::mt19937 &rng) override {
        Position p(board);
        int score = 0;
        for (int line = 0; line < kLines; ++line)
            score += lineValue(p.xs(line), p.os(line));
        std::vector<int> top;
        int high = -kInfinity;
        for (int m : ordered(p)) {
            const int delta = play(p, m, kUser);
            // A window just below the best so far keeps every score that equals it exact.
            const int s = wins(p, m) ? kWin
                                     : -search(p, -(score + delta), depth_ - 1, 1, -kInfinity, -(high - 1), kComputer);
            p.undo(m);
            if (s > high) {
                high = s;
                top.clear();
            }
            if (s == high)
                top.push_back(m);
        }
        return pick(top, rng);
    }

  private:
    static constexpr int kInfinity = 1 << 30;
    static constexpr int kWin = 1 << 20;

    // A line that one side alone holds counts 1, 8 or 64 for one, two or three marks, for X and
    // against X.
    static int lineValue(int x, int o) {
        static constexpr int weight[] = {0, 1, 8, 64, 0};
        return o == 0 ? weight[x] : x == 0 ? -weight[o] : 0;
    }

    // Plays the move and returns the change of the evaluation, from X's side.
    static int play(Position &p, int cell, int16 side) {
        int before = 0, after = 0;
        const auto &lines = Geometry::get().through[static_cast<std::size_t>(cell)];
        for (int line : lines)
            before += lineValue(p.xs(line), p.os(line));
        p.play(cell, side);
        for (int line : lines)
            after += lineValue(p.xs(line), p.os(line));
        return after - before;
    }

    static bool wins(const Position &p, int cell) {
        const int16 side = p.cells[static_cast<std::size_t>(cell)];
        for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
            if (p.count(line, side) == 4)
                return true;
        return false;
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
            const int s = wins(p, m) ? kWin - ply : -search(p, -(score + delta), depth - 1, ply + 1, -beta, -alpha, other(side));
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

    int depth_;
};

} // namespace

std::unique_ptr<Opponent> makeOpponent(const std::string &name) {
    if (name == "random")
        return std::make_unique<RandomPlayer>();
    if (name == "greedy")
        return std::make_unique<Greedy>();
    if (name == "forks")
        return std::make_unique<Forks>();
    if (name == "threats")
        return std::make_unique<Threats>();
    if (name.rfind("alphabeta:", 0) == 0) {
        const std::string n = name.substr(10);
        if (n.size() == 1 && n[0] >= '1' && n[0] <= '6')
            return std::make_unique<AlphaBeta>(n[0] - '0');
    }
    return nullptr;
}

} // namespace ttt::bench
