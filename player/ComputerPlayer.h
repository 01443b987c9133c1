#pragma once

#include "model/GameData.h"
#include "model/GameState.h"
#include "player/TurnView.h"

namespace ttt {

// The computer's play: a fixed scan over the pattern table, with no search of future moves.
//
// analyze() first sums every line (user mark 1, computer mark 5, so a sum tells exactly how many
// marks of each side a line holds). It then tries pattern rows 1 to 14 in order; the first row the
// board satisfies decides. A row (a, b, c) asks for an empty cell X on a line L1 of sum a; if b is
// not negative, X must also lie on another line L2 of sum b; if c is not negative, L2 must hold an
// empty cell Y (X itself allowed) on a third line L3 of sum c, distinct from L1 and L2. Candidates
// are taken lines L1 in table order, then cells X in the line's own order, so the data file's order
// of lines and cells is the whole tie-break. Rows 1 and 2 report a line, not a cell: row 1 (a = 4)
// finds the user's completed line, row 2 (a = 15) the line the computer can complete. A negative a
// switches a row off. When no row matches, patnum is 14 and choice 0.
//
// mymove() turns that result into one of four outcomes: the user has won, the computer wins, a tie
// (no row matched and every fallback cell is taken), or an ordinary move.
class ComputerPlayer {
  public:
    ComputerPlayer(const GameData &data, GameState &state, TurnView &view)
        : data_(data), state_(state), view_(view) {}

    void analyze();
    void mymove();

    // Search results, as the last analyze() left them.
    int16 patnum = 0;
    int16 choice = 0;
    Table<int16, kLines> linesum;

    // The line found by row 1 or 2, and its coordinates, in the line's table order.
    Table<int16, 4> wincells;
    Table<int16, 4> wincoords;

  private:
    bool lineHolds(int line, int cell) const;
    bool matchRow(int a, int b, int c);

    const GameData &data_;
    GameState &state_;
    TurnView &view_;
};

// The status messages of the computer's turn; coordinates are written with a blank before them.
std::string coordText(int16 coordinate);

} // namespace ttt
