#pragma once

#include "bench/Position.h"

#include <cstdint>
#include <unordered_map>

namespace ttt::bench {

// Forced wins by threats alone: the attacker plays threes, each of which the defender must block at
// once, until one move makes two threes. The defender's blocks may make threes of its own, which the
// attacker must answer; a chain that loses the initiative so fails. Quiet moves are never searched,
// so "no forced win" means none of this kind within `depth` attacking moves.
class ForcedWins {
  public:
    explicit ForcedWins(int depth = 6, long nodeLimit = 20000) : depth_(depth), nodeLimit_(nodeLimit) {}

    // `attacker` to move: can it force a win?
    bool wins(const Position &p, int16 attacker);
    // `attacker` to move: does the move `cell` start a forced win?
    bool winsBy(const Position &p, int16 attacker, int cell);

  private:
    bool search(Position &p, int16 attacker, int depth);
    bool tryMove(Position &p, int16 attacker, int cell, int depth);
    int depth_;
    long nodeLimit_, nodes_ = 0;
    // Positions already found lost for the attacker, with the depth they were searched to.
    std::unordered_map<std::uint64_t, int> failed_;
};

} // namespace ttt::bench
