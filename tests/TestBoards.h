#pragma once

#include "model/Cells.h"
#include "model/GameData.h"
#include "model/GameState.h"
#include "player/TurnView.h"

#include <array>
#include <cctype>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ttt::test {

// A board written as levels 1 to 4, each four rows of four cells of '.', 'X' or 'O';
// blanks, bars and line ends are ignored, so a test can lay the levels out as it likes.
inline void setBoard(GameState &state, const std::string &text) {
    int k = 0;
    for (char ch : text) {
        if (std::isspace(static_cast<unsigned char>(ch)) || ch == '|')
            continue;
        if (++k > kCells)
            throw std::invalid_argument("board text has more than 64 cells");
        state.board(k) = ch == 'X' ? kUser : ch == 'O' ? kComputer : kEmpty;
        if (ch != '.' && ch != 'X' && ch != 'O')
            throw std::invalid_argument(std::string("bad board character ") + ch);
    }
    if (k != kCells)
        throw std::invalid_argument("board text has fewer than 64 cells");
}

using Row = std::array<int, 3>;

// Tables with the straight lines in ascending order, fallback cells 1..20 unless given, and the
// pattern rows given (rows not given are switched off).
inline GameData makeData(const std::vector<Row> &rows, const std::vector<int> &pref = {}) {
    GameData data;
    int j = 1;
    for (const Line &line : straightLines())
        for (int cell : line)
            data.lines(j++) = static_cast<int16>(cell);
    for (int i = 1; i <= kPrefCells; ++i)
        data.prefcells(i) = static_cast<int16>(i <= static_cast<int>(pref.size()) ? pref[static_cast<std::size_t>(i - 1)] : i);
    for (int k = 1; k <= kPatternRows; ++k)
        for (int i = 1; i <= 3; ++i)
            data.patterns(i, k) = static_cast<int16>(
                k <= static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(i - 1)] : -1);
    return data;
}

// The 1-based table index of a line given by its cells, in makeData's table.
inline int lineNumber(const Line &cells) {
    const auto &all = straightLines();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == cells)
            return static_cast<int>(i) + 1;
    throw std::invalid_argument("not a straight line");
}

// Records what the computer's turn asked of the window, in order.
class RecordingView : public TurnView {
  public:
    void graph(const GameState &s) override {
        calls.push_back("graph " + std::to_string(s.drawcell) + " \"" + s.drawmark + "\" " + std::to_string(s.drawcolor));
    }
    void setStatusCaption(const std::string &c) override {
        caption = c;
        calls.push_back("caption \"" + c + "\"");
    }
    void setStatusColor(std::int32_t c) override {
        color = c;
        calls.push_back("color " + std::to_string(c));
    }
    std::vector<std::string> calls;
    std::string caption;
    std::int32_t color = kDarkRed;
};

} // namespace ttt::test
