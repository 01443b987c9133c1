#include "FormHarness.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QTimer>

namespace ttt {
namespace {

using test::FormHarness;

QString said(QObject *o, QAccessible::Text what) { return QAccessible::queryAccessibleInterface(o)->text(what); }

TEST(Form, OpensReadyForTheFirstMove) {
    FormHarness h;
    ASSERT_EQ(h.form->loadError(), "");
    EXPECT_EQ(h.form->windowTitle(), "Form1");
    EXPECT_EQ(h.form->size(), QSize(729, 618)); // 10935 x 9270 twips
    EXPECT_GT(h.form->maximumSize().width(), 729) << "an ordinary frame can be resized";
    EXPECT_EQ(h.buttons(), "--SP");
    EXPECT_EQ(h.caption(), "");
    EXPECT_EQ(h.inks(), std::string(kCells, '.'));
    EXPECT_EQ(h.form->focusWidget(), h.box(1));

}

TEST(Form, EveryControlStandsWhereDesignedAndStaysOnResize) {
    FormHarness h;
    std::vector<std::pair<QWidget *, QRect>> places = {
        {h.button(1), {456, 296, 137, 41}}, {h.button(2), {232, 296, 137, 41}}, {h.button(3), {248, 408, 121, 41}},
        {h.button(4), {248, 496, 113, 41}}, {h.label(4), {512, 416, 144, 104}},
    };
    const char *titles[] = {"level 1", "level 2", "level3", "level4"};
    const int tops[] = {8, 152, 288, 440};
    for (int i = 0; i < 4; ++i) {
        auto *frame = h.form->findChild<QGroupBox *>(QString("Frame%1").arg(i + 1));
        EXPECT_EQ(frame->title(), titles[i]);
        places.push_back({frame, {24, tops[i], 105, i == 2 ? 129 : 121}});
    }
    for (int k = 1; k <= kCells; ++k) { // (120 + 360 (column - 1), 240 + 360 (row - 1)) twips in its frame
        const CellPlace p = cellPlace(k);
        EXPECT_EQ(h.box(k)->parentWidget()->objectName(), QString("Frame%1").arg(p.level));
        EXPECT_EQ(h.box(k)->objectName(), QString("Text%1").arg(k + 2));
        places.push_back({h.box(k), {8 + 24 * (p.column - 1), 16 + 24 * (p.row - 1), 17, 19}});
    }
    const char *captions[] = {"OK", "TAKE BACK", "SKIP MOVE", "STOP"};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(h.button(n)->text(), captions[n - 1]);
    // The instructions wrap inside the window, every word visible, clear of the controls below.
    QLabel *instructions = h.label(1);
    EXPECT_EQ(instructions->pos(), QPoint(200, 16));
    EXPECT_TRUE(h.form->rect().contains(instructions->geometry()));
    EXPECT_GT(instructions->heightForWidth(instructions->width()), 3 * instructions->fontMetrics().height()) << "it wraps";
    EXPECT_LE(instructions->heightForWidth(instructions->width()), instructions->height());
    places.push_back({instructions, instructions->geometry()});
    for (auto [a, ra] : places)
        for (auto [b, rb] : places)
            EXPECT_TRUE(a == b || a->parent() != h.form.get() || b->parent() != h.form.get() || !ra.intersects(rb))
                << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
    for (QSize size : {QSize(729, 618), QSize(1000, 800), QSize(300, 200)}) {
        h.form->resize(size);
        QTest::qWait(10);
        for (auto [widget, rect] : places)
            EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString() << " at size " << size.width();
    }
}

TEST(Form, TextsFontsAndFocusOrder) {
    FormHarness h;
    const std::string text = kInstructions;
    EXPECT_EQ(text.size(), 658u);
    for (const char *part : {"board  consisting", "each.  The", "row.  Winning", "direction.  To", "space.  Then",
                             "error). To let", "column.)  (Note:", "space.  Anything"})
        EXPECT_NE(text.find(part), std::string::npos) << part;

    // "MS Sans Serif" at its sizes and weights, drawn in a metric-compatible stand-in.
    const std::tuple<QWidget *, double, QFont::Weight> fonts[] = {{h.label(1), 13.5, QFont::Normal}, {h.button(4), 13.5, QFont::Normal},
                                                                  {h.label(4), 18, QFont::Bold}, {h.box(1), 8.25, QFont::Bold}};
    for (auto [w, points, weight] : fonts)
        EXPECT_EQ(std::tuple(w->font().family(), QFontInfo(w->font()).family(), w->font().pointSizeF(), w->font().weight()),
                  std::tuple(QString("MS Sans Serif"), QString("Liberation Sans"), points, weight)) << w->objectName().toStdString();

    // The cells in order, then TAKE BACK, SKIP MOVE, STOP.
    QWidget *w = h.box(1);
    for (int k = 2; k <= kCells; ++k)
        EXPECT_EQ(w = w->nextInFocusChain(), h.box(k));
    for (int n = 2; n <= 4; ++n)
        EXPECT_EQ(w = w->nextInFocusChain(), h.button(n));

    // The longest message wraps within the status label.
    h.play(1);
    h.clickCell(1);
    QLabel *status = h.label(4);
    EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
    EXPECT_GT(status->heightForWidth(status->width()), status->fontMetrics().height() * 3 / 2);
    EXPECT_LE(status->heightForWidth(status->width()), status->height());
}

TEST(Form, ScreenReadersHearNamesAndMarks) {
    test::TempDataFile file(test::fallbackOnly({22, 43}));
    FormHarness h(file.path());
    EXPECT_EQ(said(h.box(31), QAccessible::Name), "level 2, row 4, column 3");
    EXPECT_EQ(said(h.box(31), QAccessible::Description), "empty");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(h.box(31))->role(), QAccessible::EditableText);
    QPushButton later; // made after the cells: their press action is theirs alone
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&later)->role(), QAccessible::Button);
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(said(h.button(n), QAccessible::Description).isEmpty());
    h.clickCell(31);
    EXPECT_EQ(said(h.box(31), QAccessible::Description), "X, your move, not yet confirmed");
    EXPECT_EQ(said(h.label(4), QAccessible::Name), "your move 243");
    h.clickButton(1);
    EXPECT_EQ(said(h.box(31), QAccessible::Description), "X, yours");
    EXPECT_EQ(said(h.box(22), QAccessible::Description), "O, the computer's latest move");
    EXPECT_EQ(said(h.box(22), QAccessible::Value), "O");
}

TEST(Form, StopAndTheCloseBoxEndTheProgramWithStatusZero) {
    for (bool useStop : {true, false}) {
        FormHarness h;
        h.clickCell(5); // also while a move is pending
        QTimer::singleShot(0, [&] { useStop ? h.clickButton(4) : (void)h.form->close(); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(h.form->isVisible());
    }
}

} // namespace
} // namespace ttt
