#include "player/ComputerPlayer.h"

namespace ttt {

std::string coordText(int16 coordinate) {
    // Numbers in messages carry a blank where a minus sign would stand.
    return (coordinate >= 0 ? " " : "") + std::to_string(coordinate);
}

bool ComputerPlayer::lineHolds(int line, int cell) const {
    for (int j = 4 * line - 3; j <= 4 * line; ++j)
        if (data_.lines(j) == cell)
            return true;
    return false;
}

bool ComputerPlayer::matchRow(int a, int b, int c) {
    const auto &board = state_.board;
    for (int L1 = 1; L1 <= kLines; ++L1) {
        if (linesum(L1) != a)
            continue;
        if (patnum <= 2) {
            choice = static_cast<int16>(L1);
            return true;
        }
        for (int j = 4 * L1 - 3; j <= 4 * L1; ++j) {
            const int16 X = data_.lines(j);
            if (board(X) != kEmpty)
                continue;
            if (b < 0) {
                choice = X;
                return true;
            }
            for (int L2 = 1; L2 <= kLines; ++L2) {
                if (linesum(L2) != b || L2 == L1 || !lineHolds(L2, X))
                    continue;
                if (c < 0) {
                    choice = X;
                    return true;
                }
                for (int i = 4 * L2 - 3; i <= 4 * L2; ++i) {
                    const int16 second = data_.lines(i);
                    if (board(second) != kEmpty)
                        continue;
                    for (int L3 = 1; L3 <= kLines; ++L3) {
                        if (linesum(L3) == c && L3 != L1 && L3 != L2 && lineHolds(L3, second)) {
                            choice = X;
                            return true;
                        }
                    }
                }
            }
        }
    }
    return false;
}

void ComputerPlayer::analyze() {
    for (int L = 1; L <= kLines; ++L) {
        int sum = 0;
        for (int j = 4 * L - 3; j <= 4 * L; ++j)
            sum += state_.board(data_.lines(j));
        linesum(L) = static_cast<int16>(sum);
    }
    for (int k = 1; k <= kPatternRows; ++k) {
        patnum = static_cast<int16>(k);
        const int a = data_.patterns(1, k);
        if (a < 0)
            continue;
        if (matchRow(a, data_.patterns(2, k), data_.patterns(3, k)))
            return;
    }
    choice = 0;
}

void ComputerPlayer::mymove() {
    analyze();
    if (patnum <= 2) {
        const int L = choice;
        std::string coords;
        for (int i = 1; i <= 4; ++i) {
            wincells(i) = data_.lines(4 * (L - 1) + i);
            wincoords(i) = cellcoord(wincells(i));
            coords += coordText(wincoords(i));
        }
        if (patnum <= 1) {
            view_.setStatusCaption("you win on " + coords);
            state_.gameover = 1;
            return;
        }
        view_.setStatusCaption("I win on " + coords);
        view_.setStatusColor(kGreen);
        state_.drawmark = "O";
        state_.drawcolor = kGreen;
        for (int i = 1; i <= 4; ++i) {
            state_.drawcell = wincells(i);
            view_.graph(state_);
        }
        state_.gameover = 1;
        return;
    }

    if (choice < 1) {
        bool found = false;
        for (int i = 1; i <= kPrefCells && !found; ++i) {
            choice = data_.prefcells(i);
            found = state_.board(choice) < 1;
        }
        if (!found) {
            view_.setStatusCaption("tie game");
            state_.gameover = 1;
            return;
        }
    }

    state_.board(choice) = kComputer;
    view_.setStatusCaption("my move is " + coordText(cellcoord(choice)));
    state_.drawmark = "O";
    state_.drawcolor = kRed;
    state_.drawcell = choice;
    view_.graph(state_);
    state_.lastmymove = choice;

    // A move into the last empty cell ends the game; otherwise it would wait for a move that
    // cannot be made.
    if (state_.boardFull()) {
        view_.setStatusCaption("tie game");
        state_.gameover = 1;
    }
}

} // namespace ttt
