#include "bench/arena/Report.h"

#include "bench/arena/Progress.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace ttt::bench {

std::vector<Tally> playAll(const GameData &data, const std::vector<Pairing> &pairings, int games, std::uint64_t seed,
                           int threads, bool timed) {
    // In parts of a few dozen games, so the work spreads evenly and progress can be shown; the games
    // are numbered as in one match, so the tallies are the same.
    constexpr int kPart = 50;
    const std::size_t parts = static_cast<std::size_t>((games + kPart - 1) / kPart);
    std::vector<std::vector<Tally>> tallies(pairings.size(), std::vector<Tally>(parts));
    Progress progress("games", static_cast<long>(pairings.size()) * games);
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        for (std::size_t j; (j = next++) < pairings.size() * parts;) {
            const std::size_t i = j / parts, part = j % parts;
            const int first = static_cast<int>(part) * kPart, n = std::min(kPart, games - first);
            tallies[i][part] = playMatch(data, pairings[i].opponent, pairings[i].userOpens, n, seed, timed, first);
            progress.advance(n);
        }
    });
    std::vector<Tally> out(pairings.size());
    for (std::size_t i = 0; i < pairings.size(); ++i)
        for (const Tally &t : tallies[i])
            out[i].add(t);
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

std::string formatHoles(const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies) {
    std::string out = "| opens | members | mean loss % | worst member | its loss % (95 % CI) | sd | range |\n"
                      "|---|---:|---:|---|---:|---:|---:|\n";
    for (bool userOpens : {true, false}) {
        std::vector<double> loss;
        std::size_t worst = 0;
        for (std::size_t i = 0; i < pairings.size(); ++i)
            if (pairings[i].userOpens == userOpens) {
                loss.push_back(100.0 * static_cast<double>(tallies[i].losses) / static_cast<double>(std::max(1L, tallies[i].games)));
                if (loss.size() == 1 || tallies[i].losses > tallies[worst].losses)
                    worst = i;
            }
        if (loss.empty())
            continue;
        const double n = static_cast<double>(loss.size());
        double mean = 0, sq = 0;
        for (double l : loss)
            mean += l / n;
        for (double l : loss)
            sq += (l - mean) * (l - mean);
        const auto [low, high] = wilson(tallies[worst].losses, tallies[worst].games);
        char row[256];
        std::snprintf(row, sizeof row, "| %s | %zu | %.1f | %s | %.1f (%.1f-%.1f) | %.1f | %.1f-%.1f |\n",
                      userOpens ? "user" : "computer", loss.size(), mean, pairings[worst].opponent.c_str(),
                      *std::max_element(loss.begin(), loss.end()), 100 * low, 100 * high, std::sqrt(sq / n),
                      *std::min_element(loss.begin(), loss.end()), *std::max_element(loss.begin(), loss.end()));
        out += row;
    }
    return out;
}

std::string formatRows(const GameData &data, const std::vector<Pairing> &pairings, const std::vector<Tally> &tallies) {
    RowCounts turns[2]{};
    long all[2] = {0, 0};
    for (std::size_t i = 0; i < pairings.size(); ++i)
        for (std::size_t k = 1; k < turns[0].size(); ++k) {
            turns[pairings[i].userOpens][k] += tallies[i].rows[k];
            all[pairings[i].userOpens] += tallies[i].rows[k];
        }
    std::string out = "| row | a b c | turns it decided, % (user opens / computer opens) |\n|---|---|---:|\n";
    for (std::size_t k = 1; k < turns[0].size(); ++k) {
        char line[128];
        const int r = static_cast<int>(k);
        if (k <= kPatternRows)
            std::snprintf(line, sizeof line, "| %d | %d %d %d |", r, data.patterns(1, r), data.patterns(2, r), data.patterns(3, r));
        else
            std::snprintf(line, sizeof line, "| none | fallback cell or tie |");
        out += line;
        std::snprintf(line, sizeof line, " %.2f / %.2f |\n", 100.0 * static_cast<double>(turns[1][k]) / static_cast<double>(std::max(1L, all[1])),
                      100.0 * static_cast<double>(turns[0][k]) / static_cast<double>(std::max(1L, all[0])));
        out += line;
    }
    return out;
}

} // namespace ttt::bench
