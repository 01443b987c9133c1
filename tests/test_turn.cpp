#include "TestBoards.h"
#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <gtest/gtest.h>

#include <random>

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

// Whole games against a random user with the shipped tables: the computer only ever takes empty
// cells, every game ends by the time the board is full, and "tie game" comes only when no line
// can still be completed by either side.
TEST(ComputerTurn, ShippedTablesPlaySoundGames) {
    const LoadResult shipped = readDataFile(TTT_SHIPPED_DATA);
    ASSERT_TRUE(shipped.data) << shipped.error;
    std::mt19937 rng(20261206);
    int ties = 0, userWins = 0, computerWins = 0;
    for (int game = 0; game < 300; ++game) {
        GameState state;
        test::RecordingView view;
        ComputerPlayer player(*shipped.data, state, view);
        if (game % 2)
            player.mymove(); // the computer opens
        while (state.gameover == 0) {
            std::vector<int> empty;
            for (int k = 1; k <= kCells; ++k)
                if (state.board(k) == kEmpty)
                    empty.push_back(k);
            ASSERT_FALSE(empty.empty()) << "game " << game << " waits on a full board";
            state.board(empty[rng() % empty.size()]) = kUser;
            const GameState before = state;
            view.calls.clear();
            player.mymove();
            if (state.gameover == 0 || view.caption.rfind("my move", 0) == 0) {
                ASSERT_EQ(before.board(state.lastmymove), kEmpty) << "game " << game;
            }
        }
        if (view.caption == "tie game") {
            ++ties;
            player.analyze();
            for (int L = 1; L <= kLines; ++L) {
                const int s = player.linesum(L);
                EXPECT_FALSE(s == 0 || s == 1 || s == 2 || s == 3 || s == 5 || s == 10 || s == 15)
                    << "game " << game << ": tie declared with line " << L << " still open (sum " << s << ")";
            }
        } else if (view.caption.rfind("you win", 0) == 0) {
            ++userWins;
        } else {
            ASSERT_EQ(view.caption.rfind("I win", 0), 0u) << view.caption;
            ++computerWins;
        }
    }
    EXPECT_EQ(ties + userWins + computerWins, 300);
    EXPECT_GT(computerWins, 250) << "a random user should rarely hold out";
}

} // namespace
} // namespace ttt
