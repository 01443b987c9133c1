#pragma once

#include "bench/Position.h"

#include <memory>
#include <random>
#include <string>

namespace ttt::bench {

// A reference player on the user's side (X). Each looks only at the board, never at the data file.
class Opponent {
  public:
    virtual ~Opponent() = default;
    // The user's next move: an empty cell. Called only while one is left.
    virtual int choose(const Board &board, std::mt19937 &rng) = 0;
};

// "random", "greedy", "forks", "threats" or "alphabeta:N"; nullptr for anything else.
//   random      any empty cell
//   greedy      completes its own line, else blocks a line of three O, else random
//   forks       greedy, then makes a double threat, then blocks the computer's double-threat cell,
//               else the cell on the most open lines
//   threats     greedy and double threats as forks, then a forcing sequence: a chain of threes, each
//               forcing the reply, that ends in a double threat (up to 8 moves deep); else as forks
//   alphabeta:N alpha-beta minimax N plies deep over a line-count evaluation, random among equals
std::unique_ptr<Opponent> makeOpponent(const std::string &name);

} // namespace ttt::bench
