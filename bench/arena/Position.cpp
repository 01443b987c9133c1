#include "bench/arena/Position.h"

namespace ttt::bench {

const Geometry &Geometry::get() {
    static const Geometry g = [] {
        Geometry out;
        out.lines = straightLines();
        for (int i = 0; i < kLines; ++i)
            for (int cell : out.lines[static_cast<std::size_t>(i)])
                out.through[static_cast<std::size_t>(cell)].push_back(i);
        return out;
    }();
    return g;
}

Position::Position(const Board &board) {
    for (int k = 1; k <= kCells; ++k)
        if (board(k) != kEmpty)
            play(k, board(k));
}

void Position::play(int cell, int16 side) {
    cells[static_cast<std::size_t>(cell)] = side;
    for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
        ++(side == kUser ? x : o)[static_cast<std::size_t>(line)];
}

void Position::undo(int cell) {
    const int16 side = cells[static_cast<std::size_t>(cell)];
    cells[static_cast<std::size_t>(cell)] = kEmpty;
    for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
        --(side == kUser ? x : o)[static_cast<std::size_t>(line)];
}

int Position::gap(int line) const {
    if (!((xs(line) == 3 && os(line) == 0) || (os(line) == 3 && xs(line) == 0)))
        return 0;
    for (int cell : Geometry::get().lines[static_cast<std::size_t>(line)])
        if (empty(cell))
            return cell;
    return 0;
}

bool Position::completed(int cell) const {
    const int16 side = cells[static_cast<std::size_t>(cell)];
    for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
        if (count(line, side) == 4)
            return true;
    return false;
}

std::vector<int> winningCells(const Position &p, int16 side) {
    std::vector<int> out;
    for (int line = 0; line < kLines; ++line)
        if (p.count(line, side) == 3 && p.count(line, other(side)) == 0)
            out.push_back(p.gap(line));
    return out;
}

int threatsMade(const Position &p, int cell, int16 side) {
    int n = 0;
    for (int line : Geometry::get().through[static_cast<std::size_t>(cell)])
        n += p.count(line, side) == 2 && p.count(line, other(side)) == 0;
    return n;
}

const std::vector<CellMap> &cubeMaps() {
    static const std::vector<CellMap> maps = [] {
        // With the reversal 4321 applied per axis, these give all 8 orders that commute with it.
        const int orders[4][4] = {{1, 2, 3, 4}, {1, 3, 2, 4}, {2, 1, 4, 3}, {3, 1, 4, 2}};
        const int axes[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
        std::vector<CellMap> out;
        for (const auto &order : orders)
            for (const auto &axis : axes)
                for (int flips = 0; flips < 8; ++flips) {
                    CellMap m{};
                    for (int k = 1; k <= kCells; ++k) {
                        const int from[3] = {(k - 1) / 16, (k - 1) / 4 % 4, (k - 1) % 4};
                        int to[3];
                        for (int i = 0; i < 3; ++i) {
                            const int v = order[from[axis[i]]] - 1;
                            to[i] = flips >> i & 1 ? 3 - v : v;
                        }
                        m[static_cast<std::size_t>(k)] = 16 * to[0] + 4 * to[1] + to[2] + 1;
                    }
                    out.push_back(m);
                }
        return out;
    }();
    return maps;
}

std::vector<int> forkCells(const Position &p, int16 side) {
    std::vector<int> out;
    for (int k = 1; k <= kCells; ++k)
        if (p.empty(k) && threatsMade(p, k, side) >= 2)
            out.push_back(k);
    return out;
}

} // namespace ttt::bench
