#include "model/Cells.h"

#include <gtest/gtest.h>

#include <set>

namespace ttt {
namespace {

TEST(Cells, CoordinatesReadLevelRowColumn) {
    const std::pair<int, int> cases[] = {{1, 111}, {4, 114}, {13, 141}, {16, 144}, {17, 211}, {31, 243}, {64, 444}};
    for (auto [cell, coord] : cases)
        EXPECT_EQ(cellcoord(static_cast<int16>(cell)), coord) << "cell " << cell;
    for (int k = 1; k <= kCells; ++k) {
        const CellPlace p = cellPlace(k);
        EXPECT_EQ(cellcoord(static_cast<int16>(k)), p.level * 100 + p.row * 10 + p.column) << "cell " << k;
        EXPECT_EQ(cellAt(p.level, p.row, p.column), k);
    }
}

// Counts the lines by kind, independently of how they were generated: 40 in the levels, 16
// vertical, 16 diagonals across levels in a plane, 4 through the cube's centre.
TEST(Cells, TheCubeHas76DistinctStraightLines) {
    const auto &lines = straightLines();
    EXPECT_EQ(std::set<Line>(lines.begin(), lines.end()).size(), 76u);
    std::array<int, 4> kinds{};
    std::array<int, kCells + 1> through{};
    for (const Line &line : lines) {
        std::array<std::set<int>, 3> axes;
        for (int cell : line) {
            ++through.at(static_cast<std::size_t>(cell));
            const CellPlace p = cellPlace(cell);
            axes[0].insert(p.level), axes[1].insert(p.row), axes[2].insert(p.column);
        }
        int varying = 0;
        for (const auto &axis : axes) {
            ASSERT_TRUE(axis.size() == 1 || axis.size() == 4);
            varying += axis.size() == 4;
        }
        ++kinds[axes[0].size() == 1 ? 0 : static_cast<std::size_t>(varying)];
    }
    EXPECT_EQ(kinds, (std::array<int, 4>{40, 16, 16, 4}));
    for (int k = 1; k <= kCells; ++k)
        EXPECT_EQ(through[static_cast<std::size_t>(k)], onSevenLines(k) ? 7 : 4) << "cell " << k;
}

} // namespace
} // namespace ttt
