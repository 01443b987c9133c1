#pragma once

#include "TestBoards.h"
#include "model/DataFile.h"
#include "ui/CellBox.h"
#include "ui/Form1.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace ttt::test {

// A data file in its own folder, removed when the test ends.
struct TempDataFile {
    explicit TempDataFile(const std::string &content) { std::ofstream(path()) << content; }
    std::string path() const { return dir.filePath(kDataFileName).toStdString(); }
    QTemporaryDir dir;
};

// Tables whose only live rows are 1 and 2, so the computer plays its fallback cells in order.
inline std::string fallbackOnly(const std::vector<int> &pref) { return formatData(makeData({{4, -1, -1}, {15, -1, -1}}, pref)); }

// The real window, shown and active as a person's would be (focus moves, selection and painting
// happen only there), with helpers that act like a user and read what the user sees.
class FormHarness {
  public:
    explicit FormHarness(const std::string &dataFile = TTT_SHIPPED_DATA) : form(std::make_unique<Form1>(dataFile)) {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    CellBox *box(int cell) const { return form->Text(cell + 2); }
    QPushButton *button(int n) const { return form->findChild<QPushButton *>(QString("Command%1").arg(n)); }
    QLabel *label(int n) const { return form->findChild<QLabel *>(QString("Label%1").arg(n)); }
    std::string caption() const { return label(4)->text().toStdString(); }
    std::string mark(int cell) const { return box(cell)->text().toStdString(); }

    // Which of OK, TAKE BACK, SKIP MOVE, STOP are shown, as four letters: "-" where hidden.
    std::string buttons() const {
        std::string out;
        for (int n = 1; n <= 4; ++n)
            out += button(n)->isHidden() ? '-' : "OTSP"[n - 1];
        return out;
    }

    // The colours of every cell's mark as painted: 'r', 'k' (black), 'g', '.' where nothing is
    // drawn, 'h' where a selection block covers the box.
    std::string inks() const {
        const QImage shot = form->grab().toImage();
        std::string out;
        for (int k = 1; k <= kCells; ++k) {
            const QRect r = QRect(box(k)->mapTo(form.get(), QPoint(0, 0)), box(k)->size()).adjusted(3, 3, -3, -3);
            std::map<char, int> n;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    const bool R = c.red() > 150, G = c.green() > 150, B = c.blue() > 150;
                    ++n[B && c.red() < 120 ? 'h' : R && !G && !B ? 'r' : G && !R && !B ? 'g' : c.value() < 80 ? 'k' : '.'];
                }
            out += n['h'] > 10 ? 'h' : n['r'] >= 4 ? 'r' : n['g'] >= 4 ? 'g' : n['k'] >= 4 ? 'k' : '.';
        }
        return out;
    }

    void clickCell(int cell, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(box(cell), b); }
    void clickButton(int n) {
        ASSERT_FALSE(button(n)->isHidden()) << "a hidden button cannot be clicked";
        QTest::mouseClick(button(n), Qt::LeftButton);
    }
    void play(int cell) {
        clickCell(cell);
        clickButton(1);
    }

    // One user action of a transcript: "click N", "right N", "dclick N", "drag N" (across the box),
    // "out N" (pressed on the box, released outside it), "press N" (a screen reader's press),
    // "type N" (keys into the box), "play N" (click and OK), "all" (a click on every cell), "ok",
    // "back", "skip".
    void act(const std::string &action) {
        std::istringstream in(action);
        std::string verb;
        int k = 0;
        in >> verb >> k;
        const QPoint left(2, 9), right(15, 9);
        if (verb == "click")
            clickCell(k);
        else if (verb == "right")
            clickCell(k, Qt::RightButton);
        else if (verb == "dclick")
            QTest::mouseDClick(box(k), Qt::LeftButton);
        else if (verb == "drag" || verb == "out") {
            QTest::mousePress(box(k), Qt::LeftButton, {}, left);
            const QPoint end = verb == "drag" ? right : QPoint(40, 9);
            QTest::mouseMove(box(k), end);
            QTest::mouseRelease(box(k), Qt::LeftButton, {}, end);
        } else if (verb == "press")
            QAccessible::queryAccessibleInterface(box(k))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        else if (verb == "type") {
            box(k)->setFocus();
            QTest::keyClicks(box(k), "X");
            QTest::keyClick(box(k), Qt::Key_Backspace);
        } else if (verb == "play")
            play(k);
        else if (verb == "all")
            for (int cell = 1; cell <= kCells; ++cell)
                clickCell(cell);
        else if (verb == "ok" || verb == "back" || verb == "skip")
            clickButton(verb == "ok" ? 1 : verb == "back" ? 2 : 3);
        else
            FAIL() << "unknown action " << action;
    }

    std::unique_ptr<Form1> form;
};

// Plays a transcript on the window: one line per action, "action | caption | buttons | changes",
// where changes list the cells whose mark changed, as cell, mark and colour: "31Xr" a red X,
// "22Ok" a black O, "17Og" a green one, "64." emptied. After each line every cell must show, as
// painted, exactly the marks so far, and the caption and buttons given; the caption is green only
// after the computer's win.
inline void playTranscript(FormHarness &h, const std::string &script) {
    std::string marks(kCells, '.'), inks(kCells, '.');
    std::istringstream lines(script);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find('|') == std::string::npos)
            continue;
        std::vector<std::string> f;
        std::istringstream parts(line);
        for (std::string part; std::getline(parts, part, '|');)
            f.push_back(part.substr(part.find_first_not_of(' '), part.find_last_not_of(' ') - part.find_first_not_of(' ') + 1));
        SCOPED_TRACE(line);
        ASSERT_EQ(f.size(), 4u);
        h.act(f[0]);
        std::istringstream changes(f[3] == "-" ? "" : f[3]);
        for (std::string c; changes >> c;) {
            const std::size_t at = c.find_first_not_of("0123456789");
            const auto k = static_cast<std::size_t>(std::stoi(c.substr(0, at)) - 1);
            marks[k] = c[at];
            inks[k] = c[at] == '.' ? '.' : c.at(at + 1);
        }
        std::string shown;
        for (int k = 1; k <= kCells; ++k)
            shown += h.mark(k).empty() ? '.' : h.mark(k)[0];
        EXPECT_EQ(h.caption(), f[1]);
        EXPECT_EQ(h.buttons(), f[2]);
        EXPECT_EQ(shown, marks);
        EXPECT_EQ(h.inks(), inks);
        EXPECT_EQ(h.label(4)->palette().color(QPalette::WindowText), f[1].starts_with("I win") ? QColor(0, 255, 0) : QColor(192, 0, 0));
    }
}

} // namespace ttt::test
