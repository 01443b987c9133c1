#include "FormHarness.h"

#include <QAccessible>

namespace ttt {
namespace {

using test::FormHarness;

QString said(QObject *o, QAccessible::Text what) {
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(o);
    return a ? a->text(what) : QString("<no interface>");
}

TEST(Accessibility, CellsButtonsAndStatusHaveNames) {
    FormHarness h;
    EXPECT_EQ(said(h.box(1), QAccessible::Name), "level 1, row 1, column 1");
    EXPECT_EQ(said(h.box(31), QAccessible::Name), "level 2, row 4, column 3");
    EXPECT_EQ(said(h.box(64), QAccessible::Name), "level 4, row 4, column 4");
    EXPECT_EQ(said(h.box(31), QAccessible::Description), "empty");
    const char *captions[] = {"OK", "TAKE BACK", "SKIP MOVE", "STOP"};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(said(h.button(n), QAccessible::Name), captions[n - 1]);
        EXPECT_FALSE(said(h.button(n), QAccessible::Description).isEmpty());
    }
    EXPECT_EQ(said(h.label(4), QAccessible::Description), "Game status");
}

TEST(Accessibility, DescriptionsFollowTheMarksAndTheStatusNameFollowsTheCaption) {
    test::TempDataFile file(test::makeData({{4, -1, -1}, {15, -1, -1}}, {22, 43, 1}));
    FormHarness h(file.path());
    h.clickCell(31);
    EXPECT_EQ(said(h.box(31), QAccessible::Description), "X, your move, not yet confirmed");
    EXPECT_EQ(said(h.label(4), QAccessible::Name), "your move 243");
    h.ok();
    EXPECT_EQ(said(h.box(31), QAccessible::Description), "X, yours");
    EXPECT_EQ(said(h.box(22), QAccessible::Description), "O, the computer's latest move");
    EXPECT_EQ(said(h.label(4), QAccessible::Name), "my move is  222");
    h.clickCell(31);
    EXPECT_EQ(said(h.label(4), QAccessible::Name), "THAT MOVE IS ILLEGAL");
}

// A person without a mouse presses a cell through the screen reader: exactly a click.
TEST(Accessibility, PressingACellPlaysItAsAClickDoes) {
    test::TempDataFile file(test::makeData({{4, -1, -1}, {15, -1, -1}}, {22, 43, 1}));
    FormHarness h(file.path());
    const auto press = [&](int cell) {
        QAccessibleActionInterface *a = QAccessible::queryAccessibleInterface(h.box(cell))->actionInterface();
        ASSERT_TRUE(a && a->actionNames().contains(QAccessibleActionInterface::pressAction())) << "cell " << cell;
        a->doAction(QAccessibleActionInterface::pressAction());
    };
    press(31);
    EXPECT_EQ(h.mark(31), "X");
    EXPECT_EQ(h.color(31), test::kRedColor);
    EXPECT_EQ(h.caption(), "your move 243");
    EXPECT_EQ(h.buttons(), "OTSP");
    press(1); // ignored while a move is pending
    EXPECT_EQ(h.mark(1), "");
    h.ok();
    EXPECT_EQ(said(h.box(22), QAccessible::Value), "O");
    press(22);
    EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
    EXPECT_EQ(h.buttons(), "---P");
}

} // namespace
} // namespace ttt
