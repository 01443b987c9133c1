// Whole games under fuzzed tables and actions. The input's first bytes shape a table the loader
// accepts (line order, cell order, fallback cells, pattern values); the rest are user actions played
// on the real window through its own handlers. After every action the rules of the game are checked
// against a model kept here, reading only what the window shows and the game's public state.
#include "model/DataFile.h"
#include "tests/TestBoards.h"
#include "ui/CellBox.h"
#include "ui/Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <set>
#include <unistd.h>

namespace ttt::fuzz {
namespace {

using Board = Table<int16, kCells>;
const auto &kLinesOfCube = straightLines();

[[noreturn]] void fail(const std::string &what, int action) {
    std::fprintf(stderr, "broken rule after action %d: %s\n", action, what.c_str());
    std::abort();
}

struct Bytes {
    const std::uint8_t *data;
    std::size_t size, at = 0;
    int next() { return at < size ? data[at++] : 0; }
};

int sum(const Board &b, const Line &l) { return b(l[0]) + b(l[1]) + b(l[2]) + b(l[3]); }
bool through(const Line &l, int cell) { return std::find(l.begin(), l.end(), cell) != l.end(); }

GameData tableFrom(Bytes &in) {
    // Line sums a row can meet, and now and then any 16-bit value.
    static const int sums[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15, 16, 20};
    GameData data = test::makeData({});
    for (int swaps = in.next() % 32; swaps > 0; --swaps) { // lines moved, their cells turned
        const int a = in.next() % kLines, b = in.next();
        for (int i = 1; i <= 4; ++i)
            std::swap(data.lines(4 * a + i), data.lines(4 * (b % kLines) + (i + b / kLines) % 4 + 1));
    }
    for (int i = 1; i <= kPrefCells; ++i)
        data.prefcells(i) = static_cast<int16>(in.next() % kCells + 1);
    for (int k = 1; k <= kPatternRows; ++k)
        for (int i = 1; i <= 3; ++i) {
            const int v = in.next();
            data.patterns(i, k) = static_cast<int16>(v < 240 ? sums[v % 16] : in.next() << 8 | in.next());
        }
    data.patterns(1, 1) = 4;
    data.patterns(1, 2) = 15;
    return data;
}

// The pattern rule read again, apart from the search's code: does any row match this board? Rows 1
// and 2 need only the line's sum; the others a blank X on it, another line through X, and a blank Y
// on that one with a third line through Y.
bool someRowMatches(const GameData &d, const Board &board) {
    for (int k = 1; k <= kPatternRows; ++k) {
        const int a = d.patterns(1, k), b = d.patterns(2, k), c = d.patterns(3, k);
        for (const Line &l1 : kLinesOfCube)
            for (int x : l1) {
                if (a < 0 || sum(board, l1) != a || (k > 2 && board(x) != kEmpty))
                    continue;
                if (k <= 2 || b < 0)
                    return true;
                for (const Line &l2 : kLinesOfCube)
                    for (int y : l2)
                        if (&l2 != &l1 && sum(board, l2) == b && through(l2, x) &&
                            (c < 0 || (board(y) == kEmpty && std::any_of(kLinesOfCube.begin(), kLinesOfCube.end(), [&](const Line &l3) {
                                 return &l3 != &l1 && &l3 != &l2 && sum(board, l3) == c && through(l3, y);
                             }))))
                            return true;
            }
    }
    return false;
}

// The straight line whose four coordinates follow `head` in a caption, each after a blank; empty
// when the caption is not one or they are not a line.
std::vector<int> lineOf(const std::string &caption, const std::string &head) {
    std::vector<int> cells;
    for (std::size_t at = head.size(); caption.starts_with(head) && caption.size() == head.size() + 16 && at < caption.size(); at += 4) {
        const std::string d = caption.substr(at + 1, 3);
        if (caption[at] != ' ' || d.find_first_not_of("1234") != std::string::npos)
            return {};
        cells.push_back(cellAt(d[0] - '0', d[1] - '0', d[2] - '0'));
    }
    std::sort(cells.begin(), cells.end());
    if (cells.size() != 4 || std::find(kLinesOfCube.begin(), kLinesOfCube.end(), Line{cells[0], cells[1], cells[2], cells[3]}) == kLinesOfCube.end())
        return {};
    return cells;
}

class Game {
  public:
    Game(const GameData &data, const std::string &path) : data_(data), form_(path) {
        if (!form_.loadError().empty())
            fail("the loader refused a sound table: " + form_.loadError(), 0);
        check(0, "");
    }

    // One action: 0-63 a click on a cell, 64-127 a screen reader's press on one, 128-191 OK, TAKE
    // BACK, SKIP MOVE or STOP, the rest a click and OK as a person plays. False once STOP ended it.
    bool act(int v, int n) {
        if (v >= 132 && v < 192)
            v = 128 + v % 4;
        const int cell = v % kCells + 1;
        CellBox *box = form_.Text(cell + 2);
        const bool free = box->text().isEmpty(), listens = !over_ && !pending_;
        std::string expected = caption();
        if (v < 128 || (v >= 192 && listens && free)) {
            if (v < 64 || v >= 192)
                QTest::mouseClick(box, Qt::LeftButton);
            else
                QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            if (listens) {
                expected = free ? "your move " + std::to_string(cellcoord(static_cast<int16>(cell))) : "THAT MOVE IS ILLEGAL";
                pending_ = free ? cell : 0;
            }
            v = v >= 192 ? 128 : -1; // a person's play goes on to OK
        }
        if (v == 131) {
            button(4)->click();
            return false;
        }
        if (v >= 128 && v < 131 && !button(v - 127)->isHidden()) { // nobody can click a hidden button
            button(v - 127)->click();
            if (v == 129)
                pending_ = 0;
            else
                expected = turn(v == 128, n);
        }
        check(n, expected);
        return true;
    }

  private:
    QPushButton *button(int n) { return form_.findChild<QPushButton *>(QString("Command%1").arg(n)); }
    QLabel *status() { return form_.findChild<QLabel *>("Label4"); }
    std::string caption() { return status()->text().toStdString(); }

    // Checks the computer's turn that OK (`ok`) or SKIP MOVE ran, and returns what it said.
    std::string turn(bool ok, int n) {
        const Board &now = form_.state().board;
        Board before = board_;
        if (ok) {
            before(pending_) = kUser;
            pending_ = red_ = 0;
        }
        skipShown_ = false;
        int placed = 0;
        for (int k = 1; k <= kCells; ++k)
            if (now(k) != before(k)) {
                if (before(k) != kEmpty || now(k) != kComputer || placed)
                    fail("the computer played on a taken cell, or twice, at cell " + std::to_string(k), n);
                placed = red_ = k;
            }
        if (placed && pending_ == placed)
            pending_ = 0; // its O takes the place of the tentative X
        const bool full = std::count(&now(1), &now(1) + kCells, kEmpty) == 0;
        bool fallbackTaken = true;
        for (int i = 1; i <= kPrefCells; ++i)
            fallbackTaken = fallbackTaken && before(data_.prefcells(i)) != kEmpty;
        const std::string said = caption();
        const std::vector<int> mine = lineOf(said, "I win on "), yours = lineOf(said, "you win on ");
        const auto marks = [&now](const std::vector<int> &cells) {
            return std::accumulate(cells.begin(), cells.end(), 0, [&now](int t, int k) { return t + now(k); });
        };
        const int mineSum = marks(mine), yoursSum = marks(yours);
        if (said == "tie game") {
            if (!(placed && full) && !(!placed && fallbackTaken && !someRowMatches(data_, before)))
                fail("a tie declared while a move was left", n);
        } else if (said.starts_with("you win on ")) {
            if (placed || yoursSum != 4 * kUser)
                fail("a user win declared without a line of four X: " + said, n);
        } else if (said.starts_with("I win on ")) {
            // It completes its line on the screen only: the board keeps the blank, shown as a green O.
            if (placed || mineSum != 3 * kComputer)
                fail("a computer win declared without a line it could complete: " + said, n);
            green_.insert(mine.begin(), mine.end());
        } else if (!placed || full || said != "my move is  " + std::to_string(cellcoord(static_cast<int16>(placed)))) {
            fail("the computer's turn said \"" + said + "\"", n);
        }
        // Rows 1 and 2 come before any move: four X, or three O and a blank, are never passed over.
        for (const Line &l : kLinesOfCube) {
            const int s = sum(before, l);
            if ((s == 4 || s == 15) && !said.starts_with("you win on ") && (s == 4 || !said.starts_with("I win on ")))
                fail("a finished or winnable line was passed over: " + said, n);
        }
        over_ = !placed || full;
        board_ = now;
        return said;
    }

    void check(int n, const std::string &expected) {
        const GameState &s = form_.state();
        if (!(s.board == board_) || s.gameover != (over_ ? 1 : 0))
            fail("the board or gameover changed outside a turn", n);
        if (n > 0 && caption() != expected)
            fail("the status says \"" + caption() + "\", not \"" + expected + "\"", n);
        if (status()->palette().color(QPalette::WindowText) != (green_.empty() ? QColor(192, 0, 0) : QColor(0, 255, 0)))
            fail("the status is in the wrong colour", n);
        const bool shown[] = {pending_ != 0, pending_ != 0, skipShown_, true};
        for (int b = 1; b <= 4; ++b)
            if (button(b)->isHidden() == shown[b - 1])
                fail("button " + std::to_string(b) + " is shown where the rules hide it, or hidden", n);
        for (int k = 1; k <= kCells; ++k) {
            const CellBox *box = form_.Text(k + 2);
            const bool green = green_.count(k) > 0, tentative = k == pending_ && s.board(k) == kEmpty;
            const char *want = s.board(k) == kUser || tentative ? "X" : s.board(k) == kComputer || green ? "O" : "";
            const QColor ink = green ? Qt::green : (k == red_ && s.board(k) == kComputer) || tentative ? Qt::red : Qt::black;
            if (box->text() != QLatin1String(want) || (*want && box->palette().color(QPalette::Text) != ink))
                fail("cell " + std::to_string(k) + " does not show \"" + want + "\" in " + ink.name().toStdString(), n);
        }
    }

    const GameData &data_;
    Form1 form_;
    Board board_;
    int pending_ = 0, red_ = 0; // the tentative X's cell while OK is shown; the computer's red O
    bool skipShown_ = true, over_ = false;
    std::set<int> green_;
};

} // namespace
} // namespace ttt::fuzz

// Fontconfig keeps one cache for the life of the process.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    [[maybe_unused]] static auto *app = new QApplication(*argc, *argv); // never destroyed: Qt cannot end among the exit handlers
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const std::string path = "/tmp/fuzz_game_" + std::to_string(::getpid()) + ".dat";
    ttt::fuzz::Bytes in{data, size};
    const ttt::GameData table = ttt::fuzz::tableFrom(in);
    std::ofstream(path, std::ios::trunc) << ttt::formatData(table);
    ttt::fuzz::Game game(table, path);
    for (int n = 1; in.at < in.size;)
        if (!game.act(in.next(), n++))
            break;
    return 0;
}
