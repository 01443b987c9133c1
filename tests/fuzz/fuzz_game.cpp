// Whole games under fuzzed tables and actions. The input's first bytes shape a table the loader
// accepts (line order, cell order, fallback cells, pattern values); the rest are user actions played
// on the real window through its own handlers. After every action the rules of the game are checked
// against a model kept here, reading only what the window shows and the game's public state.
#include "model/DataFile.h"
#include "ui/CellBox.h"
#include "ui/Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace ttt::fuzz {
namespace {

[[noreturn]] void fail(const std::string &what, int action) {
    std::fprintf(stderr, "broken rule after action %d: %s\n", action, what.c_str());
    std::abort();
}

class Bytes {
  public:
    Bytes(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    int next() { return at_ < size_ ? data_[at_++] : 0; }

  private:
    const std::uint8_t *data_;
    std::size_t size_, at_ = 0;
};

// Line sums a row can meet, and now and then any 16-bit value.
int16 patternValue(Bytes &in) {
    static const int sums[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15, 16, 20};
    const int v = in.next();
    if (v < 240)
        return static_cast<int16>(sums[v % 16]);
    return static_cast<int16>(in.next() << 8 | in.next());
}

GameData tableFrom(Bytes &in) {
    GameData data;
    int j = 1;
    for (const Line &line : straightLines())
        for (int cell : line)
            data.lines(j++) = static_cast<int16>(cell);
    for (int swaps = in.next() % 32; swaps > 0; --swaps) {
        const int a = in.next() % kLines, b = in.next();
        for (int i = 1; i <= 4; ++i)
            std::swap(data.lines(4 * a + i), data.lines(4 * (b % kLines) + (i + b / kLines) % 4 + 1));
    }
    for (int i = 1; i <= kPrefCells; ++i)
        data.prefcells(i) = static_cast<int16>(in.next() % kCells + 1);
    for (int k = 1; k <= kPatternRows; ++k)
        for (int i = 1; i <= 3; ++i)
            data.patterns(i, k) = patternValue(in);
    data.patterns(1, 1) = 4;
    data.patterns(1, 2) = 15;
    return data;
}

// The rule read independently of the search's code: some row matches on this board.
bool someRowMatches(const GameData &d, const Table<int16, kCells> &board) {
    const auto &lines = straightLines();
    const auto sum = [&](const Line &l) { return board(l[0]) + board(l[1]) + board(l[2]) + board(l[3]); };
    const auto through = [](const Line &l, int cell) { return std::find(l.begin(), l.end(), cell) != l.end(); };
    for (int k = 1; k <= kPatternRows; ++k) {
        const int a = d.patterns(1, k), b = d.patterns(2, k), c = d.patterns(3, k);
        if (a < 0)
            continue;
        for (std::size_t l1 = 0; l1 < lines.size(); ++l1) {
            if (sum(lines[l1]) != a)
                continue;
            if (k <= 2)
                return true;
            for (int x : lines[l1]) {
                if (board(x) != kEmpty)
                    continue;
                if (b < 0)
                    return true;
                for (std::size_t l2 = 0; l2 < lines.size(); ++l2) {
                    if (l2 == l1 || sum(lines[l2]) != b || !through(lines[l2], x))
                        continue;
                    if (c < 0)
                        return true;
                    for (int y : lines[l2])
                        for (std::size_t l3 = 0; l3 < lines.size(); ++l3)
                            if (board(y) == kEmpty && l3 != l1 && l3 != l2 && sum(lines[l3]) == c && through(lines[l3], y))
                                return true;
                }
            }
        }
    }
    return false;
}

int coordCell(const std::string &digits) {
    if (digits.size() != 3 || digits.find_first_not_of("1234") != std::string::npos)
        return 0;
    return cellAt(digits[0] - '0', digits[1] - '0', digits[2] - '0');
}

// "you win on " or "I win on " and a straight line's four coordinates, each after a blank.
std::vector<int> lineOf(const std::string &caption, const std::string &head) {
    std::vector<int> cells;
    if (!caption.starts_with(head) || caption.size() != head.size() + 16)
        return {};
    for (std::size_t at = head.size(); at < caption.size(); at += 4) {
        if (caption[at] != ' ')
            return {};
        cells.push_back(coordCell(caption.substr(at + 1, 3)));
    }
    std::sort(cells.begin(), cells.end());
    const auto &lines = straightLines();
    if (std::find(lines.begin(), lines.end(), Line{cells[0], cells[1], cells[2], cells[3]}) == lines.end())
        return {};
    return cells;
}

struct Model {
    Table<int16, kCells> board;
    int pending = 0; // the tentative X's cell while OK is shown
    bool skipShown = true, over = false;
    int red = 0;     // the cell of the red O, the computer's latest move
    std::set<int> green;
};

class Game {
  public:
    Game(const GameData &data, const std::string &path) : data_(data), form_(path) {
        if (!form_.loadError().empty())
            fail("the loader refused a sound table: " + form_.loadError(), 0);
        check(0, "");
    }

    // One action; false when it ended the program.
    bool act(int v, int n) {
        const std::string before = caption();
        const int cell = v % kCells + 1;
        const bool boxEmpty = form_.Text(cell + 2)->text().isEmpty();
        std::string expected = before;
        switch (v / 64) {
        case 0: // a click on a cell, or a screen reader's press
        case 1:
            if (v < 64)
                QTest::mouseClick(form_.Text(cell + 2), Qt::LeftButton);
            else
                QAccessible::queryAccessibleInterface(form_.Text(cell + 2))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            if (model_.over || model_.pending)
                break;
            if (!boxEmpty) {
                expected = "THAT MOVE IS ILLEGAL";
            } else {
                model_.pending = cell;
                expected = "your move " + std::to_string(cellcoord(static_cast<int16>(cell)));
            }
            break;
        case 2:
            if (v % 4 == 3) {
                button(4)->click();
                return false;
            }
            if (button(v % 4 + 1)->isHidden())
                break; // nobody can click a hidden button
            button(v % 4 + 1)->click();
            if (v % 4 == 1) {
                model_.pending = 0;
            } else {
                expected = turn(v % 4 == 0, n);
            }
            break;
        default: // a cell and OK, as a person plays
            if (!model_.over && !model_.pending && boxEmpty) {
                QTest::mouseClick(form_.Text(cell + 2), Qt::LeftButton);
                model_.pending = cell;
                button(1)->click();
                expected = turn(true, n);
            }
        }
        check(n, expected);
        return true;
    }

  private:
    QPushButton *button(int n) { return form_.findChild<QPushButton *>(QString("Command%1").arg(n)); }
    QLabel *status() { return form_.findChild<QLabel *>("Label4"); }
    std::string caption() { return status()->text().toStdString(); }

    // What the computer's turn must have said, after OK (`ok`) or SKIP MOVE.
    std::string turn(bool ok, int n) {
        const auto &now = form_.state().board;
        Table<int16, kCells> board = model_.board;
        if (ok) {
            board(model_.pending) = kUser;
            model_.pending = 0;
            model_.red = 0;
        }
        model_.skipShown = false;
        int placed = 0;
        for (int k = 1; k <= kCells; ++k)
            if (now(k) != board(k)) {
                if (board(k) != kEmpty || now(k) != kComputer || placed)
                    fail("the computer played on a taken cell, or twice, at cell " + std::to_string(k), n);
                placed = k;
            }
        const std::string said = caption();
        if (placed) {
            model_.red = placed;
            if (model_.pending == placed)
                model_.pending = 0; // its O takes the place of the tentative X
        }
        const bool full = std::all_of(&now(1), &now(1) + kCells, [](int16 v) { return v != kEmpty; });
        const bool fallbackTaken = [&] {
            for (int i = 1; i <= kPrefCells; ++i)
                if (board(data_.prefcells(i)) == kEmpty)
                    return false;
            return true;
        }();
        std::vector<int> userLine = lineOf(said, "you win on "), myLine = lineOf(said, "I win on ");
        if (said == "tie game") {
            if (!(placed && full) && !(!placed && fallbackTaken && !someRowMatches(data_, board)))
                fail("a tie declared while a move was left", n);
        } else if (said.starts_with("you win on ")) {
            if (placed || userLine.empty() || !std::all_of(userLine.begin(), userLine.end(), [&](int k) { return now(k) == kUser; }))
                fail("a user win declared without a line of four X: " + said, n);
        } else if (said.starts_with("I win on ")) {
            // It completes its line on the screen only: the board keeps the blank, shown as a green O.
            int sum = 0;
            for (int k : myLine)
                sum += now(k);
            if (placed || myLine.empty() || sum != 3 * kComputer)
                fail("a computer win declared without a line it could complete: " + said, n);
            model_.green.insert(myLine.begin(), myLine.end());
        } else if (!placed || full || said != "my move is  " + std::to_string(cellcoord(static_cast<int16>(placed)))) {
            fail("the computer's turn said \"" + said + "\"", n);
        }
        // Rows 1 and 2 come before any move: a line of four X, or three O and a blank, is never passed over.
        for (const Line &l : straightLines()) {
            const int s = board(l[0]) + board(l[1]) + board(l[2]) + board(l[3]);
            if ((s == 4 && !said.starts_with("you win on ")) || (s == 15 && !said.starts_with("you win on ") && !said.starts_with("I win on ")))
                fail("a finished or winnable line was passed over: " + said, n);
        }
        model_.over = placed ? full : true;
        model_.board = now;
        return said;
    }

    void check(int n, const std::string &expected) {
        const GameState &s = form_.state();
        for (int k = 1; k <= kCells; ++k)
            if (model_.board(k) != s.board(k))
                fail("the board changed outside a turn at cell " + std::to_string(k), n);
        if (s.gameover != (model_.over ? 1 : 0))
            fail("gameover is " + std::to_string(s.gameover), n);
        const std::string said = caption();
        if (n > 0 && said != expected)
            fail("the status says \"" + said + "\", not \"" + expected + "\"", n);
        if (status()->palette().color(QPalette::WindowText) != (model_.green.empty() ? QColor(192, 0, 0) : QColor(0, 255, 0)))
            fail("the status is in the wrong colour", n);
        const bool shown[] = {model_.pending != 0, model_.pending != 0, model_.skipShown, true};
        for (int b = 1; b <= 4; ++b)
            if (button(b)->isHidden() == shown[b - 1])
                fail("button " + std::to_string(b) + " is shown where the rules hide it, or hidden", n);
        for (int k = 1; k <= kCells; ++k) {
            const CellBox *box = form_.Text(k + 2);
            const QString &text = box->text();
            const QColor ink = box->palette().color(QPalette::Text);
            const char *want = s.board(k) == kUser ? "X" : s.board(k) == kComputer || model_.green.count(k) ? "O" : k == model_.pending ? "X" : "";
            const QColor wantInk = model_.green.count(k) ? QColor(0, 255, 0)
                                   : (k == model_.red && s.board(k) == kComputer) || (k == model_.pending && s.board(k) == kEmpty)
                                       ? QColor(255, 0, 0)
                                       : QColor(0, 0, 0);
            if (text != QLatin1String(want) || (*want && ink != wantInk))
                fail("cell " + std::to_string(k) + " shows \"" + text.toStdString() + "\" in " + ink.name().toStdString() + ", not \"" +
                         want + "\" in " + wantInk.name().toStdString(),
                     n);
        }
    }

    const GameData &data_;
    Form1 form_;
    Model model_;
};

} // namespace
} // namespace ttt::fuzz

// Fontconfig keeps one cache for the life of the process.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt cannot be taken down safely among the exit handlers.
    static auto *app = new QApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace ttt;
    static const std::string path = "/tmp/fuzz_game_" + std::to_string(::getpid()) + ".dat";
    fuzz::Bytes in(data, size);
    const GameData table = fuzz::tableFrom(in);
    std::ofstream(path, std::ios::trunc) << formatData(table);
    fuzz::Game game(table, path);
    for (int n = 1; !in.empty(); ++n)
        if (!game.act(in.next(), n))
            break;
    return 0;
}
