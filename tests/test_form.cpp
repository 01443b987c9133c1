#include "FormHarness.h"

#include <QFontInfo>
#include <QApplication>
#include <QGroupBox>
#include <QTimer>

namespace ttt {
namespace {

using test::FormHarness;

TEST(Form, OpensWithOnlySkipAndStopAndEmptyCells) {
    FormHarness h;
    ASSERT_EQ(h.form->loadError(), "");
    EXPECT_EQ(h.form->windowTitle(), "Form1");
    EXPECT_EQ(h.form->size(), QSize(729, 618)); // 10935 x 9270 twips
    EXPECT_GT(h.form->maximumSize().width(), 729) << "an ordinary frame can be resized";
    EXPECT_EQ(h.buttons(), "--SP");
    EXPECT_EQ(h.caption(), "");
    for (int k = 1; k <= kCells; ++k)
        EXPECT_EQ(h.mark(k), "") << "cell " << k;
    EXPECT_EQ(h.form->focusWidget(), h.box(1));
    EXPECT_EQ(h.captionColor(), QColor(192, 0, 0));
}

TEST(Form, CellBoxesSitInTheirFramesOnThe360TwipGrid) {
    FormHarness h;
    struct Place {
        int cell;
        const char *frame;
        QRect rect; // in pixels, 15 twips each
    };
    const Place places[] = {
        {1, "Frame1", {8, 16, 17, 19}},   // (120, 240)
        {16, "Frame1", {80, 88, 17, 19}}, // (1200, 1320)
        {17, "Frame2", {8, 16, 17, 19}},
        {31, "Frame2", {56, 88, 17, 19}}, // (840, 1320): coordinate 243
        {64, "Frame4", {80, 88, 17, 19}},
    };
    for (const Place &p : places) {
        EXPECT_EQ(h.box(p.cell)->parentWidget()->objectName(), p.frame) << "cell " << p.cell;
        EXPECT_EQ(h.box(p.cell)->geometry(), p.rect) << "cell " << p.cell;
        EXPECT_EQ(h.box(p.cell)->objectName(), QString("Text%1").arg(p.cell + 2));
    }
    for (int k = 1; k <= kCells; ++k) {
        const CellPlace p = cellPlace(k);
        EXPECT_EQ(h.box(k)->parentWidget()->objectName(), QString("Frame%1").arg(p.level));
        EXPECT_EQ(h.box(k)->pos(), QPoint(8 + 24 * (p.column - 1), 16 + 24 * (p.row - 1)));
    }

    const std::pair<const char *, QRect> frames[] = {
        {"level 1", {24, 8, 105, 121}},
        {"level 2", {24, 152, 105, 121}},
        {"level3", {24, 288, 105, 129}},
        {"level4", {24, 440, 105, 121}},
    };
    for (int i = 0; i < 4; ++i) {
        auto *frame = h.form->findChild<QGroupBox *>(QString("Frame%1").arg(i + 1));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->title(), frames[i].first);
        EXPECT_EQ(frame->geometry(), frames[i].second);
    }
}

TEST(Form, ButtonsAndLabelsStandWhereDesignedWithoutOverlap) {
    FormHarness h;
    EXPECT_EQ(h.button(1)->geometry(), QRect(456, 296, 137, 41));
    EXPECT_EQ(h.button(2)->geometry(), QRect(232, 296, 137, 41));
    EXPECT_EQ(h.button(3)->geometry(), QRect(248, 408, 121, 41));
    EXPECT_EQ(h.button(4)->geometry(), QRect(248, 496, 113, 41));
    EXPECT_EQ(h.label(4)->geometry(), QRect(512, 416, 144, 104));
    const char *captions[] = {"OK", "TAKE BACK", "SKIP MOVE", "STOP"};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(h.button(n)->text(), captions[n - 1]);

    // The instructions wrap inside the window, every word visible, clear of the buttons below.
    QLabel *instructions = h.label(1);
    EXPECT_EQ(instructions->text(), kInstructions);
    EXPECT_EQ(instructions->pos(), QPoint(200, 16));
    EXPECT_TRUE(h.form->rect().contains(instructions->geometry()));
    EXPECT_LE(instructions->heightForWidth(instructions->width()), instructions->height());
    EXPECT_GE(instructions->height(), 224);
    std::vector<QWidget *> top = {instructions, h.label(4)};
    for (int n = 1; n <= 4; ++n)
        top.push_back(h.button(n));
    for (int i = 1; i <= 4; ++i)
        top.push_back(h.form->findChild<QGroupBox *>(QString("Frame%1").arg(i)));
    for (std::size_t i = 0; i < top.size(); ++i)
        for (std::size_t j = i + 1; j < top.size(); ++j)
            EXPECT_FALSE(top[i]->geometry().intersects(top[j]->geometry()))
                << top[i]->objectName().toStdString() << " overlaps " << top[j]->objectName().toStdString();

    // Nothing reacts to resizing the window.
    std::vector<QRect> before;
    for (QWidget *w : top)
        before.push_back(w->geometry());
    for (QSize size : {QSize(1000, 800), QSize(300, 200)}) {
        h.form->resize(size);
        QTest::qWait(10);
        for (std::size_t i = 0; i < top.size(); ++i)
            EXPECT_EQ(top[i]->geometry(), before[i]) << top[i]->objectName().toStdString();
        EXPECT_EQ(h.box(64)->geometry(), QRect(80, 88, 17, 19));
    }
}

TEST(Form, InstructionsTextIsExact) {
    const std::string text = kInstructions;
    EXPECT_EQ(text.size(), 658u);
    EXPECT_NE(text.find("board  consisting"), std::string::npos);
    EXPECT_NE(text.find("column.)  (Note:"), std::string::npos);
    EXPECT_NE(text.find("error). To let"), std::string::npos);
}

TEST(Form, FontsStandInForMsSansSerifAtTheDesignedSizes) {
    FormHarness h;
    const QFont big = h.label(1)->font();
    EXPECT_EQ(big.family(), "MS Sans Serif");
    EXPECT_DOUBLE_EQ(big.pointSizeF(), 13.5);
    EXPECT_EQ(QFontInfo(big).family(), "Liberation Sans");
    EXPECT_EQ(h.label(4)->font().pointSizeF(), 18);
    EXPECT_EQ(h.label(4)->font().weight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(h.box(1)->font().pointSizeF(), 8.25);
    EXPECT_EQ(h.box(1)->font().weight(), QFont::Bold);
    EXPECT_EQ(h.button(4)->font().weight(), QFont::Normal);
    EXPECT_TRUE(h.label(1)->alignment() & Qt::AlignTop);
}

TEST(Form, LongStatusMessagesWrapWithinTheLabel) {
    FormHarness h;
    h.play(1);
    h.clickCell(1);
    EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
    QLabel *status = h.label(4);
    EXPECT_TRUE(status->wordWrap());
    EXPECT_GT(status->heightForWidth(status->width()), status->fontMetrics().height() * 3 / 2);
    EXPECT_LE(status->heightForWidth(status->width()), status->height());
}

TEST(Form, TabOrderRunsThroughTheCellsThenTheButtons) {
    FormHarness h;
    QWidget *w = h.box(1);
    for (int k = 2; k <= kCells; ++k) {
        w = w->nextInFocusChain();
        EXPECT_EQ(w, h.box(k));
    }
    EXPECT_EQ(w->nextInFocusChain(), h.button(2));
}

TEST(Form, KeyboardInputIsIgnored) {
    FormHarness h;
    h.skip();
    const int taken = h.form->state().lastmymove;
    ASSERT_GT(taken, 0);
    const int free = taken == 1 ? 2 : 1;
    h.box(free)->setFocus();
    QTest::keyClicks(h.box(free), "X");
    EXPECT_EQ(h.mark(free), "");
    h.box(taken)->setFocus();
    QTest::keyClick(h.box(taken), Qt::Key_Backspace);
    QTest::keyClick(h.box(taken), Qt::Key_Delete);
    QTest::keyClicks(h.box(taken), "X");
    EXPECT_EQ(h.mark(taken), "O");
    h.clickCell(taken);
    EXPECT_EQ(h.caption(), "THAT MOVE IS ILLEGAL");
}

TEST(Form, StopEndsTheProgramWithStatusZero) {
    for (bool useStop : {true, false}) {
        FormHarness h;
        h.clickCell(5); // STOP works while a move is pending too
        QTimer::singleShot(0, [&] {
            if (useStop)
                h.clickButton(4);
            else
                h.form->close();
        });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(h.form->isVisible());
    }
}

TEST(Form, MissingDataFileLeavesNothingPlayable) {
    test::TempDataFile file(std::string("1,2,3"));
    std::filesystem::remove(file.path());
    FormHarness h(file.path());
    EXPECT_NE(h.form->loadError().find("kubix.dat"), std::string::npos);
    EXPECT_EQ(h.buttons(), "---P");
    h.clickCell(1);
    EXPECT_EQ(h.mark(1), "");
    EXPECT_EQ(h.buttons(), "---P");
}

} // namespace
} // namespace ttt
