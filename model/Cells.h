#pragma once

#include "model/Table.h"

#include <array>

namespace ttt {

inline constexpr int kCells = 64;
inline constexpr int kLines = 76;
inline constexpr int kLineEntries = 4 * kLines;
inline constexpr int kPrefCells = 20;
inline constexpr int kPatternRows = 14;

// Board values.
inline constexpr int16 kEmpty = 0;
inline constexpr int16 kUser = 1;
inline constexpr int16 kComputer = 5;

// Colours as 0x00BBGGRR.
inline constexpr std::int32_t kBlack = 0;
inline constexpr std::int32_t kRed = 255;
inline constexpr std::int32_t kGreen = 65280;
inline constexpr std::int32_t kDarkRed = 192;

struct CellPlace {
    int level; // 1..4
    int row;   // 1..4
    int column; // 1..4
    friend constexpr bool operator==(const CellPlace &, const CellPlace &) = default;
};

constexpr CellPlace cellPlace(int k) {
    return {(k - 1) / 16 + 1, ((k - 1) % 16) / 4 + 1, (k - 1) % 4 + 1};
}

// Corners and the cells of the inner 2x2x2 cube lie on seven lines; every other cell on four.
constexpr bool onSevenLines(int k) {
    const CellPlace p = cellPlace(k);
    const auto edge = [](int v) { return v == 1 || v == 4; };
    const int edges = edge(p.level) + edge(p.row) + edge(p.column);
    return edges == 0 || edges == 3;
}

constexpr int cellAt(int level, int row, int column) { return (level - 1) * 16 + (row - 1) * 4 + column; }

// The three-digit coordinate the user sees: level*100 + row*10 + column (cell 31 -> 243).
int16 cellcoord(int16 k);

using Line = std::array<int, 4>;

// The 76 straight lines of the cube, each with its cells in ascending order.
const std::array<Line, kLines> &straightLines();

} // namespace ttt
