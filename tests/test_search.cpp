#include "TestBoards.h"
#include "player/ComputerPlayer.h"

#include <gtest/gtest.h>

namespace ttt {
namespace {

using test::Row;

constexpr Row kUserWon{4, -1, -1};
constexpr Row kCanWin{15, -1, -1};

const char *const kEmptyBoard = "....|....|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|....";

struct SearchCase {
    const char *name;
    const char *board;
    std::vector<Row> rows;
    int patnum;
    int choice;
};

// In the tables of these cases the lines are in ascending order of their cells, so the row
// 1-2-3-4 comes first, then column 1-5-9-13, then the level diagonal 1-6-11-16, then the vertical
// 1-17-33-49, and so on.
const SearchCase kCases[] = {
    {"empty board takes the first cell of line 1", kEmptyBoard, {kUserWon, kCanWin, {0, -1, -1}}, 3, 1},
    {"no match leaves 14 and 0, even with row 14 switched off", kEmptyBoard, {kUserWon, kCanWin, {3, -1, -1}}, 14, 0},
    {"a switched-off row is passed over",
     kEmptyBoard,
     {kUserWon, kCanWin, {-1, 0, 0}, {0, 0, -1}},
     4,
     1},
    {"earlier line in the table wins",
     // Lines of two O: 1-2-3-4, 4-7-10-13 and 13-14-15-16; the first in the table decides.
     "..OO|....|....|OO..  ....|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {10, -1, -1}},
     3,
     1},
    {"earlier empty cell of the line wins",
     "OO..|....|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {10, -1, -1}},
     3,
     3},
    {"a full line's sum never yields a cell",
     "XXXX|....|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|....",
     {{-1, -1, -1}, kCanWin, {4, -1, -1}},
     14,
     0},
    {"a value that is no line sum never matches", kEmptyBoard, {kUserWon, kCanWin, {9, -1, -1}}, 14, 0},
    {"second line must be another line through X",
     // Cell 4 lies on 1-2-3-4 (sum 10) and on no other line of sum 5 but 4-8-12-16 (O at 8).
     ".OO.|...O|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {10, 5, -1}},
     3,
     4},
    {"third line may run through X itself",
     // X = 1: row 1-2-3-4 sums 10, column 1-5-9-13 sums 7 with only cell 1 empty, and the
     // vertical 1-17-33-49 sums 5; so Y = X = 1.
     ".OO.|X...|X...|O...  O...|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {10, 7, 5}},
     3,
     1},
    {"three lines of equal sum must be three different lines",
     // Cell 1 lies on two lines of two O only; (10, 10, 10) must not reuse one of them.
     ".OO.|O...|O...|....  ....|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {10, 10, 10}},
     14,
     0},
    {"three different lines of equal sum match",
     ".OO.|O...|O...|....  O...|....|....|....  O...|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {10, 10, 10}},
     3,
     1},
    {"row 1 reports the user's line before the computer's win",
     "XXXX|....|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, kCanWin, {0, -1, -1}},
     1,
     test::lineNumber({1, 2, 3, 4})},
    {"row 2 matches on the sum alone, whatever b and c hold",
     "....|....|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....",
     {kUserWon, {15, 99, 99}, {0, -1, -1}},
     2,
     test::lineNumber({17, 18, 19, 20})},
};

TEST(PatternSearch, ScanOrderAndTieBreaks) {
    for (const SearchCase &c : kCases) {
        const GameData data = test::makeData(c.rows);
        GameState state;
        test::setBoard(state, c.board);
        const GameState before = state;
        test::RecordingView view;
        ComputerPlayer player(data, state, view);
        player.analyze();
        EXPECT_EQ(player.patnum, c.patnum) << c.name;
        EXPECT_EQ(player.choice, c.choice) << c.name;
        EXPECT_EQ(state.board, before.board) << c.name << ": the search changed the board";
        EXPECT_TRUE(view.calls.empty()) << c.name;
    }
}

TEST(PatternSearch, LineSumsCountEachSide) {
    const GameData data = test::makeData({kUserWon, kCanWin});
    GameState state;
    test::setBoard(state, "XOX.|....|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|XXXX");
    test::RecordingView view;
    ComputerPlayer player(data, state, view);
    player.analyze();
    EXPECT_EQ(player.linesum(test::lineNumber({1, 2, 3, 4})), 7);
    EXPECT_EQ(player.linesum(test::lineNumber({61, 62, 63, 64})), 4);
    EXPECT_EQ(player.linesum(test::lineNumber({5, 6, 7, 8})), 0);
    EXPECT_EQ(player.patnum, 1);

    test::setBoard(state, kEmptyBoard);
    player.analyze();
    for (int L = 1; L <= kLines; ++L)
        EXPECT_EQ(player.linesum(L), 0);
}

// The order of lines and of cells in the data file is the tie-break, not the cell numbers.
TEST(PatternSearch, FollowsTheTableOrderOfLinesAndCells) {
    GameData data = test::makeData({kUserWon, kCanWin, {0, -1, -1}});
    // Swap lines 1 and 76, and write the new first line backwards.
    for (int i = 1; i <= 4; ++i)
        std::swap(data.lines(i), data.lines(300 + i));
    std::swap(data.lines(1), data.lines(4));
    std::swap(data.lines(2), data.lines(3));
    GameState state;
    test::RecordingView view;
    ComputerPlayer player(data, state, view);
    player.analyze();
    EXPECT_EQ(player.patnum, 3);
    EXPECT_EQ(player.choice, data.lines(1));
    EXPECT_EQ(player.choice, straightLines()[75][3]);
}

} // namespace
} // namespace ttt
