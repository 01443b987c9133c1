#include "TestBoards.h"
#include "player/ComputerPlayer.h"

#include <gtest/gtest.h>


namespace ttt {
namespace {

using Calls = std::vector<std::string>;

const std::vector<test::Row> kRows = {{4, -1, -1}, {15, -1, -1}, {3, -1, -1}, {10, -1, -1}};

struct Turn {
    explicit Turn(const GameData &d, const char *board) : data(d), player(data, state, view) {
        test::setBoard(state, board);
        state.lastmymove = 7;
    }
    GameData data;
    GameState state;
    test::RecordingView view;
    ComputerPlayer player;
};

TEST(ComputerTurn, UserWinIsReportedFirstAndDrawsNothing) {
    // The user holds 1-2-3-4; the computer could also complete 17-18-19-20.
    Turn t(test::makeData(kRows), "XXXX|....|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....");
    const GameState before = t.state;
    t.player.mymove();
    EXPECT_EQ(t.view.calls, (Calls{"caption \"you win on  111 112 113 114\""}));
    EXPECT_EQ(t.state.gameover, 1);
    EXPECT_EQ(t.state.board, before.board);
    EXPECT_EQ(t.state.lastmymove, 7);
    EXPECT_EQ(t.view.color, kDarkRed);
}

TEST(ComputerTurn, ComputerWinPaintsItsLineGreenInLineOrder) {
    GameData data = test::makeData(kRows);
    const int L = test::lineNumber({17, 18, 19, 20});
    std::swap(data.lines(4 * L - 3), data.lines(4 * L)); // the line reads 20, 18, 19, 17
    Turn t(data, "X...|....|....|....  .OOO|....|....|....  ....|....|....|....  ....|....|....|....");
    t.player.mymove();
    EXPECT_EQ(t.view.calls, (Calls{"caption \"I win on  214 212 213 211\"", "color 65280", "graph 20 \"O\" 65280",
                                   "graph 18 \"O\" 65280", "graph 19 \"O\" 65280", "graph 17 \"O\" 65280"}));
    EXPECT_EQ(t.state.gameover, 1);
    EXPECT_EQ(t.state.board(17), kEmpty) << "the winning cell is drawn, not entered";
    EXPECT_EQ(t.state.lastmymove, 7);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(t.player.wincoords(i), cellcoord(t.player.wincells(i)));
}

TEST(ComputerTurn, OrdinaryMoveEntersDrawsAndAnnounces) {
    // Row 3 blocks the user's three in 29-30-31-32 at cell 31.
    Turn t(test::makeData(kRows), "....|....|....|....  ....|....|....|XX.X  ....|....|....|....  ....|....|....|....");
    t.player.mymove();
    EXPECT_EQ(t.view.calls, (Calls{"caption \"my move is  243\"", "graph 31 \"O\" 255"}));
    EXPECT_EQ(t.state.board(31), kComputer);
    EXPECT_EQ(t.state.lastmymove, 31);
    EXPECT_EQ(t.state.gameover, 0);
    EXPECT_EQ(t.state.drawcell, 31);
}

TEST(ComputerTurn, FallsBackToTheFirstEmptyPreferredCell) {
    // No row can match (only rows 1 and 2 are on), so the fallback list decides: 1 is taken.
    Turn t(test::makeData({{4, -1, -1}, {15, -1, -1}}, {1, 64, 22}),
           "X...|....|....|....  ....|....|....|....  ....|....|....|....  ....|....|....|....");
    t.player.mymove();
    EXPECT_EQ(t.view.calls, (Calls{"caption \"my move is  444\"", "graph 64 \"O\" 255"}));
    EXPECT_EQ(t.state.board(64), kComputer);
    EXPECT_EQ(t.player.choice, 64);
}

TEST(ComputerTurn, TieWhenNothingMatchesAndEveryFallbackCellIsTaken) {
    // Cells 1..20 are taken (fallback cells by default), with no line of four and none to complete.
    Turn t(test::makeData({{4, -1, -1}, {15, -1, -1}}),
           "OXXO|OXXO|XOXO|OXOX  XXOX|....|....|....  ....|....|....|....  ....|....|....|....");
    const GameState before = t.state;
    t.player.mymove();
    EXPECT_EQ(t.view.calls, (Calls{"caption \"tie game\""}));
    EXPECT_EQ(t.state.gameover, 1);
    EXPECT_EQ(t.state.board, before.board);
    EXPECT_EQ(t.state.lastmymove, 7);
}

TEST(ComputerTurn, MoveIntoTheLastEmptyCellEndsTheGameAsATie) {
    // Drawn position with one cell left (cell 64) and no line for either side to complete.
    const char *board = "XXOX|XXXO|OOOX|XXOX  XXXO|OOXX|XOOO|XOOO  XOOO|OOXO|XXOO|OOXX  OOXX|XOOO|XOXX|OXX.";
    Turn t(test::makeData(kRows, {64}), board);
    t.player.mymove();
    EXPECT_EQ(t.view.calls, (Calls{"caption \"my move is  444\"", "graph 64 \"O\" 255", "caption \"tie game\""}));
    EXPECT_EQ(t.state.board(64), kComputer);
    EXPECT_EQ(t.state.lastmymove, 64);
    EXPECT_EQ(t.state.gameover, 1);
}

} // namespace
} // namespace ttt
