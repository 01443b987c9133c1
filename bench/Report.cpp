#include "bench/Report.h"

#include <atomic>
#include <cmath>
#include <cstdio>

namespace ttt::bench {

std::vector<Tally> playAll(const GameData &data, const std::vector<Pairing> &pairings, int games, std::uint64_t seed,
                           int threads, bool timed) {
    std::vector<Tally> out(pairings.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < pairings.size();)
            out[i] = playMatch(data, pairings[i].opponent, pairings[i].userOpens, games, seed, timed);
    };
    onThreads(threads, work);
    return out;
}

std::pair<double, double> wilson(long k, long n) {
    if (n <= 0)
        return {0, 1};
    const double z = 1.96, p = static_cast<double>(k) / static_cast<double>(n), nn = static_cast<double>(n);
    const double centre = (p + z * z / (2 * nn)) / (1 + z * z / nn);
    const double half = z * std::sqrt(p * (1 - p) / nn + z * z / (4 * nn * nn)) / (1 + z * z / nn);
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::string formatTable(const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies, bool timed) {
    std::string out = "| opponent | opens | games | win % | loss % | loss 95 % CI | tie % | open ties | avg length |";
    out += timed ? " turn mean (us) | turn worst (us) |\n" : "\n";
    out += "|---|---|---:|---:|---:|---:|---:|---:|---:|";
    out += timed ? "---:|---:|\n" : "\n";
    for (std::size_t i = 0; i < pairings.size(); ++i) {
        const Tally &t = tallies[i];
        const double n = static_cast<double>(std::max(1L, t.games));
        char row[256];
        const auto [low, high] = wilson(t.losses, t.games);
        std::snprintf(row, sizeof row, "| %s | %s | %ld | %.1f | %.1f | %.1f-%.1f | %.1f | %ld | %.1f |",
                      pairings[i].opponent.c_str(), pairings[i].userOpens ? "user" : "computer", t.games,
                      100.0 * t.wins / n, 100.0 * t.losses / n, 100 * low, 100 * high, 100.0 * t.ties / n, t.openTies,
                      static_cast<double>(t.moves) / n);
        out += row;
        if (timed) {
            std::snprintf(row, sizeof row, " %.1f | %.1f |", t.turnNanos / 1000.0 / std::max(1L, t.turns),
                          t.worstTurnNanos / 1000.0);
            out += row;
        }
        out += "\n";
    }
    return out;
}

} // namespace ttt::bench
