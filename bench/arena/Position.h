#pragma once

#include "model/Cells.h"
#include "model/GameState.h"

#include <array>
#include <vector>

namespace ttt::bench {

using Board = Table<int16, kCells>;

// The cube's geometry for the reference opponents, taken from the cells themselves and never from a
// data file, so an opponent sees the same lines whatever table the computer plays with.
struct Geometry {
    static const Geometry &get();
    std::array<Line, kLines> lines;                  // cells of line i (0-based)
    std::array<std::vector<int>, kCells + 1> through; // lines through cell k
};

// A board with running counts of each side's marks on every line.
struct Position {
    explicit Position(const Board &board);

    void play(int cell, int16 side);
    void undo(int cell);

    int empty(int cell) const { return cells[static_cast<std::size_t>(cell)] == kEmpty; }
    int xs(int line) const { return x[static_cast<std::size_t>(line)]; }
    int os(int line) const { return o[static_cast<std::size_t>(line)]; }
    int count(int line, int16 side) const { return side == kUser ? xs(line) : os(line); }
    // The empty cell of a line that holds three marks of one side and nothing else, or 0.
    int gap(int line) const;
    // Whether the mark in `cell` completes a line of four of its side.
    bool completed(int cell) const;

    std::array<int16, kCells + 1> cells{};
    std::array<int, kLines> x{};
    std::array<int, kLines> o{};
};

inline int16 other(int16 side) { return side == kUser ? kComputer : kUser; }

// Empty cells where `side` completes a line at once.
std::vector<int> winningCells(const Position &p, int16 side);

// Empty cells where a mark of `side` makes two lines of three with nothing of the other side: a
// double threat, since the other side can block only one.
std::vector<int> forkCells(const Position &p, int16 side);

// The 192 maps of the cells onto themselves that keep the 76 lines: the cube's turns and
// reflections, each with one of the four orders of the coordinates 1 to 4 that keep lines (as is,
// inner two swapped, halves swapped, both). map[k] is the image of cell k; map[0] is unused.
using CellMap = std::array<int, kCells + 1>;
const std::vector<CellMap> &cubeMaps();

// Number of lines through `cell` that make three of `side` with nothing else, were `side` to play it.
int threatsMade(const Position &p, int cell, int16 side);

} // namespace ttt::bench
