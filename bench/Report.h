#pragma once

#include "bench/Match.h"

#include <string>
#include <vector>

namespace ttt::bench {

struct Pairing {
    std::string opponent;
    bool userOpens;
};

// Plays every pairing for `games` games on up to `threads` threads; results in the pairings' order.
std::vector<Tally> playAll(const GameData &data, const std::vector<Pairing> &pairings, int games, std::uint64_t seed,
                           int threads, bool timed);

// A Markdown table of the results.
std::string formatTable(const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies, bool timed);

} // namespace ttt::bench
