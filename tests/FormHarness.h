#pragma once

#include "TestBoards.h"
#include "model/DataFile.h"
#include "ui/CellBox.h"
#include "ui/Form1.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace ttt::test {

// A shown Form1 with helpers that click like a user and read what the user sees.
class FormHarness {
  public:
    // The window is shown and made active as a person's would be: focus moves, selection and
    // painting happen only there.
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
    QColor color(int cell) const { return box(cell)->palette().color(QPalette::Text); }
    QColor captionColor() const { return label(4)->palette().color(QPalette::WindowText); }

    // Which of OK, TAKE BACK, SKIP MOVE, STOP are shown, as four letters: "-" where hidden.
    std::string buttons() const {
        std::string out;
        for (int n = 1; n <= 4; ++n)
            out += button(n)->isHidden() ? '-' : "OTSP"[n - 1];
        return out;
    }

    // What a person sees in a cell, read off the painted window: the colour of its mark's ink
    // ("black", "red", "green"), "none" for an empty box, "highlight" for a selection block.
    std::string ink(int cell) const {
        const QImage shot = form->grab().toImage();
        const QRect r(box(cell)->mapTo(form.get(), QPoint(0, 0)), box(cell)->size());
        int highlight = 0, red = 0, green = 0, black = 0;
        for (int y = r.top() + 3; y <= r.bottom() - 3; ++y)
            for (int x = r.left() + 3; x <= r.right() - 3; ++x) {
                const QColor c = shot.pixelColor(x, y);
                highlight += c.blue() > 150 && c.red() < 120;
                red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
                green += c.green() > 150 && c.red() < 100 && c.blue() < 100;
                black += c.red() < 80 && c.green() < 80 && c.blue() < 80;
            }
        if (highlight > 10)
            return "highlight";
        if (std::max({red, green, black}) < 4)
            return "none";
        return red > green && red > black ? "red" : green > black ? "green" : "black";
    }

    void clickCell(int cell) { QTest::mouseClick(box(cell), Qt::LeftButton); }
    void clickButton(int n) {
        ASSERT_FALSE(button(n)->isHidden()) << "a hidden button cannot be clicked";
        QTest::mouseClick(button(n), Qt::LeftButton);
    }
    void ok() { clickButton(1); }
    void takeBack() { clickButton(2); }
    void skip() { clickButton(3); }
    void play(int cell) {
        clickCell(cell);
        ok();
    }

    std::unique_ptr<Form1> form;
};

// A data file in its own folder, removed when the test ends.
class TempDataFile {
  public:
    explicit TempDataFile(const GameData &data) : TempDataFile(formatData(data)) {}
    explicit TempDataFile(const std::string &content) {
        static int serial = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("ttt_ui_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(dir_);
        std::ofstream(dir_ / kDataFileName) << content;
    }
    ~TempDataFile() { std::filesystem::remove_all(dir_); }
    std::string path() const { return (dir_ / kDataFileName).string(); }

  private:
    std::filesystem::path dir_;
};

inline const QColor kRedColor{255, 0, 0};
inline const QColor kBlackColor{0, 0, 0};
inline const QColor kGreenColor{0, 255, 0};

} // namespace ttt::test
