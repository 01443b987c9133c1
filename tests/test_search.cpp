#include "TestBoards.h"
#include "player/ComputerPlayer.h"

#include <gtest/gtest.h>

namespace ttt {
namespace {

using test::Row;
using Cells = std::vector<int>;

constexpr Row kUserWon{4, -1, -1};
constexpr Row kCanWin{15, -1, -1};

// makeData's table, or with `reversed` the same lines in the opposite order, each written backwards.
GameData table(const std::vector<Row> &rows, const Cells &pref, bool reversed) {
    GameData data = test::makeData(rows, pref);
    for (int j = 1; reversed && j <= kLineEntries / 2; ++j)
        std::swap(data.lines(j), data.lines(kLineEntries + 1 - j));
    return data;
}

struct SearchCase {
    const char *name;
    Cells x, o;
    std::vector<Row> rows; // after rows 1 and 2 as shipped, unless `own` rows 1 and 2 are given
    int patnum, choice;
    bool own = false, reversed = false;
};

// The line table is in ascending order: 1-2-3-4, 1-5-9-13, 1-6-11-16, 1-17-33-49, ...
const SearchCase kCases[] = {
    {"empty board: first cell of line 1", {}, {}, {{0, -1, -1}}, 3, 1},
    {"no match leaves 14 and 0", {}, {}, {{3, -1, -1}}, 14, 0},
    {"a switched-off row is passed over", {}, {}, {{-1, 0, 0}, {0, 0, -1}}, 4, 1},
    {"a full line's sum never yields a cell", {1, 2, 3, 4}, {}, {{-1, -1, -1}, kCanWin, {4, -1, -1}}, 14, 0, true},
    {"earlier line in the table wins", {}, {3, 4, 13, 14}, {{10, -1, -1}}, 3, 1},
    {"earlier empty cell of the line wins", {}, {1, 2}, {{10, -1, -1}}, 3, 3},
    {"second line must be another line through X", {}, {2, 3, 8}, {{10, 5, -1}}, 3, 4},
    {"Y may be X itself", {5, 9}, {2, 3, 13, 17}, {{10, 7, 5}}, 3, 1},
    {"three equal sums need three lines", {}, {2, 3, 5, 9}, {{10, 10, 10}}, 14, 0},
    {"three different lines of equal sum", {}, {2, 3, 5, 9, 17, 33}, {{10, 10, 10}}, 3, 1},
    {"0 is a real target for b", {40}, {}, {{1, 0, 11}}, 14, 0},
    {"0 is a real target for c", {12, 23, 40}, {24, 33, 56}, {{0, 11, 0}}, 14, 0},
    {"every empty Y of L2 is tried", {12}, {}, {{0, 0, 1}}, 3, 1},
    {"the next L2 is tried", {15}, {32}, {{5, 0, 5}}, 3, 16},
    {"the table's last line may be L2", {}, {62, 63}, {{0, 10, -1}}, 3, 61},
    {"X may be the last cell of L2", {3}, {1, 2}, {{0, 11, -1}}, 3, 4},
    {"Y must be empty", {33}, {}, {{0, 1, 1}}, 14, 0},
    {"L3 passes through Y, not X", {7}, {64}, {{0, 0, 1}}, 3, 1},
    {"row 1 before row 2", {1, 2, 3, 4}, {17, 18, 19}, {{0, -1, -1}}, 1, test::lineNumber({1, 2, 3, 4})},
    {"row 1: the first line in table order", {5, 6, 7, 8, 13, 14, 15, 16}, {}, {}, 1, test::lineNumber({5, 6, 7, 8})},
    {"row 2: the first line in table order", {}, {33, 34, 35, 17, 18, 19}, {}, 2, test::lineNumber({17, 18, 19, 20})},
    {"row 2 on the sum alone", {}, {17, 18, 19}, {kUserWon, {15, 99, 99}}, 2, test::lineNumber({17, 18, 19, 20}), true},
    {"the table's order of cells, not their numbers", {}, {}, {{0, -1, -1}}, 3, 64, false, true},
    {"the table's order of lines, not their cells", {1, 2, 3, 4, 61, 62, 63, 64}, {}, {}, 1, 1, false, true},
};

TEST(PatternSearch, ScanOrderAndTieBreaks) {
    for (const SearchCase &c : kCases) {
        std::vector<Row> rows = c.rows;
        if (!c.own)
            rows.insert(rows.begin(), {kUserWon, kCanWin});
        const GameData data = table(rows, {}, c.reversed);
        GameState state;
        for (int k : c.x)
            state.board(k) = kUser;
        for (int k : c.o)
            state.board(k) = kComputer;
        const GameState before = state;
        test::RecordingView view;
        ComputerPlayer player(data, state, view);
        player.analyze();
        EXPECT_EQ(player.patnum, c.patnum) << c.name;
        EXPECT_EQ(player.choice, c.choice) << c.name;
        EXPECT_EQ(state.board, before.board) << c.name;
        EXPECT_TRUE(view.calls.empty()) << c.name;
    }
    // A line still open holds marks of one side only and a blank: with cell 1 blank, not with 1 taken.
    GameState s;
    test::setBoard(s, ".XOX|XXXO|OOOX|XXOX  XXXO|OOXX|XOOO|XOOO  XOOO|OOXO|XXOO|OOXX  OOXX|XOOO|XOXX|OXX.");
    EXPECT_TRUE(s.lineStillOpen());
    s.board(1) = kUser;
    EXPECT_FALSE(s.lineStillOpen());
}

struct TurnCase {
    const char *name;
    std::vector<Row> rows;
    Cells pref;
    const char *board;
    std::vector<std::string> calls;
    int gameover, lastmymove;
    bool reversed = false;
};

const std::vector<Row> kRows = {kUserWon, kCanWin, {3, -1, -1}, {10, -1, -1}};
const char *const kFourLevels = "XXXX|....|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....";

const TurnCase kTurns[] = {
    {"the user's win first, drawing nothing", kRows, {}, kFourLevels, {"caption \"you win on  111 112 113 114\""}, 1, 7},
    {"the computer's win, green in line order", kRows, {},
     "X...|....|....|....  .OOO|....|....|....  ....|....|....|....  ....|....|....|....",
     {"caption \"I win on  214 213 212 211\"", "color 65280", "graph 20 \"O\" 65280", "graph 19 \"O\" 65280",
      "graph 18 \"O\" 65280", "graph 17 \"O\" 65280"},
     1, 7, true},
    {"the first empty fallback cell", {kUserWon, kCanWin}, {1, 64, 22},
     "X...|....|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|....",
     {"caption \"my move is  444\"", "graph 64 \"O\" 255"}, 0, 64},
    {"a move into the last empty cell ends in a tie", kRows, {64},
     "XXOX|XXXO|OOOX|XXOX  XXXO|OOXX|XOOO|XOOO  XOOO|OOXO|XXOO|OOXX  OOXX|XOOO|XOXX|OXX.",
     {"caption \"my move is  444\"", "graph 64 \"O\" 255", "caption \"tie game\""}, 1, 64},
    {"a move that leaves the last cell empty does not end the game", kRows, {63},
     "XXOX|XXXO|OOOX|XXOX  XXXO|OOXX|XOOO|XOOO  XOOO|OOXO|XXOO|OOXX  OOXX|XOOO|XOXX|OX..",
     {"caption \"my move is  443\"", "graph 63 \"O\" 255"}, 0, 63},
};

TEST(ComputerTurn, EachOutcomeAsTheWindowSeesIt) {
    for (const TurnCase &c : kTurns) {
        const GameData data = table(c.rows, c.pref, c.reversed);
        GameState state;
        test::setBoard(state, c.board);
        state.lastmymove = 7;
        GameState expected = state;
        if (c.lastmymove != 7)
            expected.board(c.lastmymove) = kComputer;
        test::RecordingView view;
        ComputerPlayer(data, state, view).mymove();
        EXPECT_EQ(view.calls, c.calls) << c.name;
        EXPECT_EQ(state.gameover, c.gameover) << c.name;
        EXPECT_EQ(state.lastmymove, c.lastmymove) << c.name;
        EXPECT_EQ(state.board, expected.board) << c.name;
    }
}

} // namespace
} // namespace ttt
