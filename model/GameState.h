#pragma once

#include "model/Cells.h"
#include "model/Table.h"

#include <string>

namespace ttt {

// The state of one game, shared by the turn controller, the computer's turn and the drawing.
struct GameState {
    Table<int16, kCells> board; // kEmpty, kUser or kComputer
    int16 pendingcell = 0;      // the user's tentative move, awaiting OK or TAKE BACK
    int16 lastmymove = 0;       // the computer's latest move; 0 before its first
    int16 gameover = 0;         // 1 once a win or a tie has been declared; never back to 0

    // Drawing request: set these, then ask the view to graph.
    int16 drawcell = 0;
    std::string drawmark;
    std::int32_t drawcolor = kBlack;

    bool boardFull() const {
        for (int k = 1; k <= kCells; ++k)
            if (board(k) == kEmpty)
                return false;
        return true;
    }

    // Some line still holds marks of one side only and a blank, so either side could complete it.
    bool lineStillOpen() const {
        for (const Line &line : straightLines()) {
            int x = 0, o = 0;
            for (int cell : line) {
                x += board(cell) == kUser;
                o += board(cell) == kComputer;
            }
            if ((x == 0 || o == 0) && x + o < 4)
                return true;
        }
        return false;
    }
};

} // namespace ttt
