// Rule-based players: take a win, block the computer's three, then by level make a double threat,
// play a forcing chain to one (threats), block the computer's double-threat cell, and otherwise
// take the cell on the most open lines. The heuristics family varies the level, which of its own
// double threat and the block comes first, the weights of "open", the chain depth and how often a
// random or second-best move slips in; the fork-level family keeps the level and varies the rest.
#include "bench/arena/opponents/Players.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace ttt::bench {

namespace {

struct Params {
    int level = 2;              // 0 random, 1 greedy, 2 forks, 3 threats
    bool blockFirst = false;    // block the computer's double-threat cell before making its own
    int chainDepth = 8;         // threats: moves of the forcing chain looked for
    long own[4] = {1, 3, 5, 7}; // a line without O, by the X it holds
    long block[4] = {0, 1, 2, 3}; // a line without X, by the O it holds
    double randomMove = 0, secondBest = 0;
    long centre = 0, corner = 0; // a quiet move's liking for the inner eight cells or the corners
    double anyOpening = 0;       // how often the first move is any of the 64 cells
};

class Heuristic : public Opponent {
  public:
    Heuristic(int level, Family family) : family_(family) { params_.level = level; }

    void newGame(std::mt19937 &rng) override {
        if (family_ == Family::ForkLevel)
            return drawForkLevel(rng);
        if (family_ == Family::None)
            return;
        Params p;
        const double r = uniform(rng, 0, 1);
        p.level = r < 0.15 ? 1 : r < 0.55 ? 2 : 3;
        p.blockFirst = uniform(rng, 0, 1) < 0.5;
        p.chainDepth = 2 + below(rng, 7);
        for (int i = 0; i < 4; ++i) { // weights that grow with the marks on the line
            p.own[i] = (i ? p.own[i - 1] : 1) + below(rng, 6);
            p.block[i] = i ? p.block[i - 1] + below(rng, 6) : 0;
        }
        p.randomMove = uniform(rng, 0, 0.05);
        p.secondBest = uniform(rng, 0, 0.15);
        params_ = p;
    }

    int choose(const Board &board, std::mt19937 &rng) override {
        const Position p(board);
        if (params_.level == 0 || (params_.anyOpening > 0 && emptyCells(p).size() == kCells && uniform(rng, 0, 1) < params_.anyOpening))
            return pick(emptyCells(p), rng);
        if (auto win = winningCells(p, kUser); !win.empty())
            return pick(win, rng);
        if (auto block = winningCells(p, kComputer); !block.empty())
            return pick(block, rng);
        if (params_.level == 1)
            return pick(emptyCells(p), rng);
        if (params_.randomMove > 0 && uniform(rng, 0, 1) < params_.randomMove)
            return pick(emptyCells(p), rng);
        const auto theirs = forkCells(p, kComputer);
        if (params_.blockFirst && !theirs.empty())
            return best(theirs, rng, [&](int k) { return openness(p, k); });
        if (auto fork = forkCells(p, kUser); !fork.empty())
            return pick(fork, rng);
        if (params_.level == 3)
            if (int k = chain(p, rng))
                return k;
        if (!theirs.empty())
            return best(theirs, rng, [&](int k) { return openness(p, k); });
        std::vector<int> cells = emptyCells(p);
        if (params_.secondBest > 0 && uniform(rng, 0, 1) < params_.secondBest) {
            const auto top = bestCells(cells, [&](int k) { return openness(p, k); });
            std::erase_if(cells, [&](int k) { return std::find(top.begin(), top.end(), k) != top.end(); });
            if (cells.empty())
                cells = top;
        }
        return best(cells, rng, [&](int k) { return openness(p, k); });
    }

  private:
    // Fork level, with what makes a fixed player predictable drawn anew: how steeply the quiet
    // move's weights grow with the marks, how much the computer's lines count (from not at all to
    // like its own), a liking for the centre or the corners or neither, which of its own double
    // threat and the block comes first, and how often it opens anywhere.
    void drawForkLevel(std::mt19937 &rng) {
        Params p;
        const double steep = uniform(rng, 1, 6), theirs = uniform(rng, 0, 1);
        for (int i = 0; i < 4; ++i) {
            p.own[i] = std::lround(10 * std::pow(steep, i));
            p.block[i] = i ? std::lround(theirs * static_cast<double>(p.own[i])) : 0;
        }
        const int liking = below(rng, 3); // the centre, the corners, or neither
        const long bonus = 5 * below(rng, 7);
        (liking == 0 ? p.centre : p.corner) = liking < 2 ? bonus : 0;
        p.blockFirst = uniform(rng, 0, 1) < 0.5;
        p.anyOpening = uniform(rng, 0, 0.5);
        params_ = p;
    }

    long openness(const Position &p, int cell) const {
        const CellPlace c = cellPlace(cell);
        const bool inner = c.level % 3 != 1 && c.row % 3 != 1 && c.column % 3 != 1;
        long s = onSevenLines(cell) ? (inner ? params_.centre : params_.corner) : 0;
        for (int line : Geometry::get().through[static_cast<std::size_t>(cell)]) {
            if (p.os(line) == 0)
                s += params_.own[p.xs(line)];
            else if (p.xs(line) == 0)
                s += params_.block[p.os(line)];
        }
        return s;
    }

    // The first moves of the shortest forcing chain found, one of them at random.
    int chain(const Position &start, std::mt19937 &rng) {
        Position p = start;
        nodes_ = 0;
        for (int depth = 1; depth <= params_.chainDepth && nodes_ <= kNodeLimit; ++depth) {
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
        if (threatsMade(p, m, kUser) >= 2)
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
            if (!makesThree(p, reply, kComputer))
                for (int next : threatMoves(p))
                    if ((won = forces(p, next, depth - 1)))
                        break;
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

    // Did the computer's block make a line of three O of its own? Then X must answer it.
    static bool makesThree(const Position &p, int cell, int16 side) {
        for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
            if (p.count(line, side) >= 3 && p.count(line, other(side)) == 0)
                return true;
        return false;
    }

    Params params_;
    Family family_;
    long nodes_ = 0;
    std::set<std::pair<std::uint64_t, std::uint64_t>> failed_;
};

} // namespace

std::unique_ptr<Opponent> makeHeuristic(int level, Family family) { return std::make_unique<Heuristic>(level, family); }

} // namespace ttt::bench
