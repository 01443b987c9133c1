#pragma once

#include "bench/arena/Match.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ttt::bench {

// A game recorded so that a changed table can be judged on it without playing it again: the
// opponent draws a fresh random source for every move (from the match seed, the game and the move's
// number), so as long as the new table answers as the old one did, the opponent's next move is the
// recorded one, and only from the first different answer on must the game be played.
struct GameLog {
    std::vector<int> moves; // user moves as cells, computer turns as kind * 100 + cell
    Outcome outcome = Outcome::Tie;
};

struct ReplayGame {
    std::string opponent;
    bool userOpens = true;
    std::uint64_t seed = 0;
    int game = 0;
};

// Plays the game `g` with `data`, following `before` (a log of the same game with another table)
// for as long as the computer's turns agree with it; with no log, plays it all. `diverged`, if
// given, tells whether the table ever answered otherwise.
GameLog replay(const GameData &data, const ReplayGame &g, const GameLog *before = nullptr,
               bool *diverged = nullptr);

} // namespace ttt::bench
