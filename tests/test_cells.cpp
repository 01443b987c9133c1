#include "model/Cells.h"

#include <gtest/gtest.h>

#include <set>

namespace ttt {
namespace {

TEST(Cells, CoordinatesReadLevelRowColumn) {
    const std::pair<int, int> cases[] = {{1, 111},  {4, 114},  {13, 141}, {16, 144},
                                         {17, 211}, {31, 243}, {49, 411}, {64, 444}};
    for (auto [cell, coord] : cases)
        EXPECT_EQ(cellcoord(static_cast<int16>(cell)), coord) << "cell " << cell;

    std::set<int> seen;
    for (int k = 1; k <= kCells; ++k) {
        const CellPlace p = cellPlace(k);
        EXPECT_EQ(cellcoord(static_cast<int16>(k)), p.level * 100 + p.row * 10 + p.column) << "cell " << k;
        EXPECT_EQ(cellAt(p.level, p.row, p.column), k);
        seen.insert(cellcoord(static_cast<int16>(k)));
    }
    EXPECT_EQ(seen.size(), 64u);
}

// Counts the lines by kind, independently of how they were generated.
TEST(Cells, TheCubeHas76DistinctStraightLinesOfEachKind) {
    const auto &lines = straightLines();
    std::set<Line> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), 76u);

    int inLevel = 0, vertical = 0, planeDiagonal = 0, spaceDiagonal = 0;
    std::array<int, kCells + 1> through{};
    for (const Line &line : lines) {
        std::set<int> levels, rows, columns;
        for (int cell : line) {
            ASSERT_GE(cell, 1);
            ASSERT_LE(cell, kCells);
            ++through[static_cast<std::size_t>(cell)];
            levels.insert(cellPlace(cell).level);
            rows.insert(cellPlace(cell).row);
            columns.insert(cellPlace(cell).column);
        }
        // Each coordinate is either fixed or takes all four values along a straight line.
        for (const auto *axis : {&levels, &rows, &columns})
            ASSERT_TRUE(axis->size() == 1 || axis->size() == 4);
        const int varying = (levels.size() == 4) + (rows.size() == 4) + (columns.size() == 4);
        if (levels.size() == 1)
            ++inLevel;
        else if (varying == 1)
            ++vertical;
        else if (varying == 2)
            ++planeDiagonal;
        else
            ++spaceDiagonal;
    }
    EXPECT_EQ(inLevel, 40);
    EXPECT_EQ(vertical, 16);
    EXPECT_EQ(planeDiagonal, 16);
    EXPECT_EQ(spaceDiagonal, 4);

    // Corners and the inner 2x2x2 cube lie on seven lines, every other cell on four.
    int seven = 0;
    for (int k = 1; k <= kCells; ++k) {
        EXPECT_EQ(through[static_cast<std::size_t>(k)], onSevenLines(k) ? 7 : 4) << "cell " << k;
        seven += onSevenLines(k);
    }
    EXPECT_EQ(seven, 16);
}

} // namespace
} // namespace ttt
