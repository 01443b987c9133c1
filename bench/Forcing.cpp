#include "bench/Forcing.h"

#include <algorithm>

namespace ttt::bench {

namespace {

// Open threes of `side` through `cell`: lines holding three of its marks and nothing of the other.
int threesThrough(const Position &p, int cell, int16 side) {
    int n = 0;
    for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
        n += p.count(line, side) == 3 && p.count(line, other(side)) == 0;
    return n;
}

int firstGap(const Position &p, int cell, int16 side) {
    for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
        if (p.count(line, side) == 3 && p.count(line, other(side)) == 0)
            return p.gap(line);
    return 0;
}

std::uint64_t key(const Position &p, int16 attacker) {
    std::uint64_t h = attacker == kUser ? 0x9e3779b97f4a7c15ULL : 0;
    for (int k = 1; k <= kCells; ++k)
        h = (h ^ static_cast<std::uint64_t>(p.cells[static_cast<std::size_t>(k)] + 3)) * 0x100000001b3ULL;
    return h;
}

} // namespace

bool ForcedWins::wins(const Position &start, int16 attacker) {
    Position p = start;
    nodes_ = 0;
    failed_.clear();
    return search(p, attacker, depth_);
}

bool ForcedWins::winsBy(const Position &start, int16 attacker, int cell) {
    Position p = start;
    nodes_ = 0;
    failed_.clear();
    if (const auto won = winningCells(p, attacker); !won.empty())
        return std::find(won.begin(), won.end(), cell) != won.end();
    const auto theirs = winningCells(p, other(attacker));
    if (theirs.size() > 1 || (theirs.size() == 1 && theirs[0] != cell))
        return false;
    return tryMove(p, attacker, cell, depth_);
}

bool ForcedWins::search(Position &p, int16 attacker, int depth) {
    if (!winningCells(p, attacker).empty())
        return true;
    const auto theirs = winningCells(p, other(attacker));
    if (theirs.size() > 1)
        return false;
    if (depth <= 0 || ++nodes_ > nodeLimit_)
        return false;
    const std::uint64_t k = key(p, attacker);
    if (auto it = failed_.find(k); it != failed_.end() && it->second >= depth)
        return false;
    bool won = false;
    if (theirs.size() == 1) {
        won = tryMove(p, attacker, theirs[0], depth);
    } else {
        for (int cell = 1; cell <= kCells && !won; ++cell)
            if (p.empty(cell) && threatsMade(p, cell, attacker) > 0)
                won = tryMove(p, attacker, cell, depth);
    }
    if (!won)
        failed_[k] = depth;
    return won;
}

// The attacker plays `cell`; two threes win, one forces the block, none ends the chain.
bool ForcedWins::tryMove(Position &p, int16 attacker, int cell, int depth) {
    p.play(cell, attacker);
    const int threes = threesThrough(p, cell, attacker);
    bool won = threes >= 2;
    if (threes == 1) {
        const int block = firstGap(p, cell, attacker);
        p.play(block, other(attacker));
        won = search(p, attacker, depth - 1);
        p.undo(block);
    }
    p.undo(cell);
    return won;
}

} // namespace ttt::bench
