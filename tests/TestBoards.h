#pragma once

#include "model/Cells.h"
#include "model/GameData.h"
#include "model/GameState.h"
#include "player/TurnView.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace ttt::test {

// A board written as levels 1 to 4, each four rows of four cells of '.', 'X' or 'O'; blanks and
// bars are ignored, so a test lays the levels out as it likes.
inline void setBoard(GameState &state, const std::string &text) {
    std::string cells;
    std::copy_if(text.begin(), text.end(), std::back_inserter(cells), [](char ch) { return ch == '.' || ch == 'X' || ch == 'O'; });
    if (cells.size() != kCells || text.find_first_not_of(".XO| ") != std::string::npos)
        throw std::invalid_argument("bad board text: " + text);
    for (int k = 1; k <= kCells; ++k)
        state.board(k) = cells[k - 1] == 'X' ? kUser : cells[k - 1] == 'O' ? kComputer : kEmpty;
}

using Row = std::array<int, 3>;

// Tables with the straight lines in ascending order (1-2-3-4, then 1-5-9-13, 1-6-11-16,
// 1-17-33-49, ...), fallback cells 1..20 unless given (a short list repeats its last cell), and the
// pattern rows given; the rest are switched off.
inline GameData makeData(const std::vector<Row> &rows, std::vector<int> pref = {}) {
    GameData data;
    int j = 1;
    for (const Line &line : straightLines())
        for (int cell : line)
            data.lines(j++) = static_cast<int16>(cell);
    for (int i = 1; i <= kPrefCells; ++i)
        data.prefcells(i) = static_cast<int16>(pref.empty() ? i : pref[std::min<std::size_t>(i, pref.size()) - 1]);
    for (int k = 1; k <= kPatternRows; ++k)
        for (int i = 1; i <= 3; ++i)
            data.patterns(i, k) = static_cast<int16>(k <= static_cast<int>(rows.size()) ? rows[k - 1][i - 1] : -1);
    return data;
}

// The table index of a line in makeData's table.
inline int lineNumber(const Line &cells) {
    const auto &all = straightLines();
    return static_cast<int>(std::find(all.begin(), all.end(), cells) - all.begin()) + 1;
}

// Records what the computer's turn asked of the window, in order.
class RecordingView : public TurnView {
  public:
    void graph(const GameState &s) override {
        calls.push_back("graph " + std::to_string(s.drawcell) + " \"" + s.drawmark + "\" " + std::to_string(s.drawcolor));
    }
    void setStatusCaption(const std::string &c) override { calls.push_back("caption \"" + c + "\""); }
    void setStatusColor(std::int32_t c) override { calls.push_back("color " + std::to_string(c)); }
    std::vector<std::string> calls;
};

} // namespace ttt::test
