#include "FormHarness.h"

namespace ttt {
namespace {

using test::FormHarness;
using test::kBlackColor;
using test::kGreenColor;
using test::kRedColor;
using test::TempDataFile;

// Tables whose only live rows are 1 and 2, so the computer plays its fallback cells in order.
GameData fallbackOnly(std::vector<int> pref) {
    while (pref.size() < kPrefCells)
        pref.push_back(pref.back());
    return test::makeData({{4, -1, -1}, {15, -1, -1}}, pref);
}

TEST(Game, ClickOnAnEmptyCellPlacesARedXPendingConfirmation) {
    FormHarness h;
    h.clickCell(31);
    EXPECT_EQ(h.mark(31), "X");
    EXPECT_EQ(h.color(31), kRedColor);
    EXPECT_EQ(h.caption(), "your move 243");
    EXPECT_EQ(h.buttons(), "OTSP");
    EXPECT_EQ(h.form->state().board(31), kEmpty);
    EXPECT_EQ(h.form->state().pendingcell, 31);

    // While it is pending, clicks on any cell change nothing and say nothing.
    h.clickCell(1);
    h.clickCell(31);
    EXPECT_EQ(h.mark(1), "");
    EXPECT_EQ(h.mark(31), "X");
    EXPECT_EQ(h.caption(), "your move 243");
    EXPECT_EQ(h.form->state().pendingcell, 31);
}

TEST(Game, TakeBackEmptiesTheCellAndKeepsTheMessage) {
    FormHarness h;
    h.clickCell(64);
    h.takeBack();
    EXPECT_EQ(h.mark(64), "");
    EXPECT_EQ(h.caption(), "your move 444");
    EXPECT_EQ(h.buttons(), "--SP");
    EXPECT_EQ(h.form->state().board(64), kEmpty);
    h.clickCell(1);
    EXPECT_EQ(h.caption(), "your move 111");
}

TEST(Game, OkSettlesBothMarksAndTheComputerAnswersInRed) {
    TempDataFile file(fallbackOnly({22, 43}));
    FormHarness h(file.path());
    h.play(1);
    EXPECT_EQ(h.mark(1), "X");
    EXPECT_EQ(h.color(1), kBlackColor);
    EXPECT_EQ(h.form->state().board(1), kUser);
    EXPECT_EQ(h.mark(22), "O");
    EXPECT_EQ(h.color(22), kRedColor);
    EXPECT_EQ(h.caption(), "my move is  222");
    EXPECT_EQ(h.buttons(), "---P");

    h.clickCell(2);
    EXPECT_EQ(h.buttons(), "OT-P") << "SKIP MOVE is gone after the first OK";
    h.ok();
    EXPECT_EQ(h.color(2), kBlackColor);
    EXPECT_EQ(h.color(22), kBlackColor) << "the computer's previous mark turns black";
    EXPECT_EQ(h.mark(43), "O");
    EXPECT_EQ(h.color(43), kRedColor);
    EXPECT_EQ(h.caption(), "my move is  333");
}

TEST(Game, IllegalMoveOnAnOccupiedCell) {
    TempDataFile file(fallbackOnly({22, 43}));
    FormHarness h(file.path());
    h.play(1);
    for (int taken : {1, 22}) {
        h.clickCell(taken);
        EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
        EXPECT_EQ(h.buttons(), "---P");
    }
    EXPECT_EQ(h.mark(22), "O");
    h.clickCell(2);
    EXPECT_EQ(h.caption(), "your move 112");
    EXPECT_EQ(h.buttons(), "OT-P");
}

TEST(Game, SkipMoveLetsTheComputerOpen) {
    FormHarness h;
    h.skip();
    const int taken = h.form->state().lastmymove;
    ASSERT_GE(taken, 1);
    EXPECT_EQ(h.mark(taken), "O");
    EXPECT_EQ(h.color(taken), kRedColor);
    EXPECT_EQ(h.caption(), "my move is  " + std::to_string(cellcoord(static_cast<int16>(taken))));
    EXPECT_EQ(h.buttons(), "---P");
    EXPECT_EQ(h.form->state().board(taken), kComputer);
}

TEST(Game, SkipMoveWhileAMoveIsPendingKeepsIt) {
    TempDataFile file(fallbackOnly({64, 63}));
    FormHarness h(file.path());
    h.clickCell(1);
    h.skip();
    EXPECT_EQ(h.mark(64), "O");
    EXPECT_EQ(h.buttons(), "OT-P");
    EXPECT_EQ(h.mark(1), "X");
    EXPECT_EQ(h.color(1), kRedColor);
    h.ok();
    EXPECT_EQ(h.color(1), kBlackColor);
    EXPECT_EQ(h.color(64), kBlackColor);
    EXPECT_EQ(h.form->state().board(1), kUser);
    EXPECT_EQ(h.mark(63), "O");
}

// Regression: the computer took the cell of the pending move, and a later OK wrote the user's mark
// over the computer's.
TEST(Game, SkipMoveOntoThePendingCellVoidsThatMove) {
    TempDataFile file(fallbackOnly({1, 2}));
    FormHarness h(file.path());
    h.clickCell(1);
    h.skip();
    EXPECT_EQ(h.mark(1), "O");
    EXPECT_EQ(h.color(1), kRedColor);
    EXPECT_EQ(h.form->state().board(1), kComputer);
    EXPECT_EQ(h.buttons(), "---P");
    EXPECT_EQ(h.caption(), "my move is  111");
    h.clickCell(1);
    EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
    h.play(5);
    EXPECT_EQ(h.form->state().board(1), kComputer);
    EXPECT_EQ(h.mark(1), "O");
}

void expectFinished(FormHarness &h) {
    EXPECT_EQ(h.form->state().gameover, 1);
    EXPECT_EQ(h.buttons(), "---P");
    const std::string caption = h.caption();
    for (int k = 1; k <= kCells; ++k) {
        const std::string before = h.mark(k);
        h.clickCell(k);
        ASSERT_EQ(h.mark(k), before) << "cell " << k;
        ASSERT_EQ(h.caption(), caption) << "cell " << k;
    }
}

TEST(Game, UserWinEndsTheGame) {
    TempDataFile file(fallbackOnly({64, 63, 62, 60}));
    FormHarness h(file.path());
    for (int cell : {1, 2, 3, 4})
        h.play(cell);
    EXPECT_EQ(h.caption(), "you win on  111 112 113 114");
    EXPECT_EQ(h.captionColor(), QColor(192, 0, 0));
    EXPECT_EQ(h.color(62), kBlackColor) << "OK settled the computer's last mark; the win draws nothing";
    EXPECT_EQ(h.color(4), kBlackColor);
    expectFinished(h);
}

TEST(Game, ComputerWinPaintsItsLineGreen) {
    TempDataFile file(fallbackOnly({17, 18, 19, 20}));
    FormHarness h(file.path());
    h.skip();
    for (int cell : {1, 5, 9})
        h.play(cell);
    EXPECT_EQ(h.caption(), "I win on  211 212 213 214");
    EXPECT_EQ(h.captionColor(), kGreenColor);
    for (int cell : {17, 18, 19, 20}) {
        EXPECT_EQ(h.mark(cell), "O");
        EXPECT_EQ(h.color(cell), kGreenColor);
    }
    EXPECT_EQ(h.form->state().board(20), kEmpty);
    expectFinished(h);
}

TEST(Game, TieWhenEveryFallbackCellIsTaken) {
    TempDataFile file(fallbackOnly({64}));
    FormHarness h(file.path());
    h.play(64);
    EXPECT_EQ(h.caption(), "tie game");
    expectFinished(h);
}

// Regression: when OK hid itself the focus passed to cell 111's box, which selected its mark and
// painted it white on blue; a double click or a drag over a mark did the same.
TEST(Game, MarksArePaintedInTheirOwnColoursNeverSelected) {
    TempDataFile file(fallbackOnly({17, 18, 19, 20}));
    FormHarness h(file.path());
    h.skip();
    h.play(1);
    EXPECT_EQ(h.form->focusWidget(), h.box(1));
    EXPECT_EQ(h.ink(1), "black");
    EXPECT_EQ(h.ink(17), "black");
    EXPECT_EQ(h.ink(18), "red");
    EXPECT_EQ(h.ink(2), "none");
    QTest::mouseDClick(h.box(1), Qt::LeftButton);
    EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
    EXPECT_EQ(h.ink(1), "black");
    QTest::mousePress(h.box(18), Qt::LeftButton, {}, QPoint(2, 9));
    QTest::mouseMove(h.box(18), QPoint(15, 9));
    QTest::mouseRelease(h.box(18), Qt::LeftButton, {}, QPoint(15, 9));
    EXPECT_EQ(h.ink(18), "red");
    h.clickCell(5);
    EXPECT_EQ(h.ink(5), "red");
    h.ok();
    h.play(9);
    EXPECT_EQ(h.caption(), "I win on  211 212 213 214");
    for (int cell : {17, 18, 19, 20})
        EXPECT_EQ(h.ink(cell), "green") << "cell " << cell;
    EXPECT_EQ(h.ink(9), "black");
}

// A whole game with the shipped tables, always taking the first empty cell: it must end, and in a
// state the controller allows.
TEST(Game, ShippedTablesFinishAScriptedGame) {
    FormHarness h;
    int moves = 0;
    while (h.form->state().gameover == 0 && moves < 64) {
        int k = 1;
        while (k <= kCells && !h.mark(k).empty())
            ++k;
        ASSERT_LE(k, kCells) << "the board is full but the game goes on";
        h.play(k);
        ++moves;
    }
    EXPECT_EQ(h.form->state().gameover, 1);
    EXPECT_EQ(h.buttons(), "---P");
}

} // namespace
} // namespace ttt
