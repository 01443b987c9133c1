#pragma once

#include "bench/arena/Match.h"

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

// The 95 % Wilson score interval of a rate of k in n.
std::pair<double, double> wilson(long k, long n);

// A Markdown table of the results, with the 95 % interval of each loss rate.
std::string formatTable(const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies, bool timed);

// For pairings of members of one family, each opening apart: the mean loss, the worst member with
// its interval, and the spread (standard deviation and range) of the members' losses.
std::string formatHoles(const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies);

// Each pattern row with its values, and the share of the computer's turns it decided over all the
// pairings, each opening apart: which rows the scan ever reaches.
std::string formatRows(const GameData &data, const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies);

} // namespace ttt::bench
