#include "bench/arena/Rule.h"

#include "bench/arena/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>

namespace ttt::bench {

namespace {

const char *const kFixed[] = {"forks", "threats", "alphabeta:2", "alphabeta:3", "alphabeta:4"};
const char *const kFamilies[] = {"forklevel", "searchers"};

void bothWays(std::vector<Pairing> &pairings, const std::string &name) {
    pairings.push_back({name, true});
    pairings.push_back({name, false});
}

double percent(long k, long n) {
    return 100.0 * static_cast<double>(k) / static_cast<double>(std::max(1L, n));
}

} // namespace

double RuleFigures::score() const {
    if (rows.empty())
        return 0;
    double sum = 0;
    for (const RuleRow &r : rows)
        sum += r.loss;
    return sum / static_cast<double>(rows.size());
}

double meanOfWorst(std::vector<double> losses, int k) {
    const auto n = std::min(losses.size(), static_cast<std::size_t>(std::max(0, k)));
    if (n == 0)
        return 0;
    std::partial_sort(losses.begin(), losses.begin() + static_cast<std::ptrdiff_t>(n), losses.end(),
                      std::greater<>());
    return std::accumulate(losses.begin(), losses.begin() + static_cast<std::ptrdiff_t>(n), 0.0) /
           static_cast<double>(n);
}

RuleFigures measureRule(const GameData &table, const RuleTerms &terms, int threads) {
    std::vector<Pairing> pairings;
    for (const char *name : kFixed)
        bothWays(pairings, name);
    for (const char *name : kFamilies)
        bothWays(pairings, name);
    for (const char *name : {"greedy", "random"})
        bothWays(pairings, name);
    const auto tallies = playAll(table, pairings, terms.games, terms.seed, threads, false);

    RuleFigures f;
    for (std::size_t i = 0; i < pairings.size(); ++i) {
        const Pairing &p = pairings[i];
        const Tally &t = tallies[i];
        const int side = p.userOpens ? 0 : 1;
        if (p.opponent == "greedy")
            f.greedyWins[side] = percent(t.wins, t.games);
        else if (p.opponent == "random")
            f.randomAll[side] = t.wins == t.games;
        else
            f.rows.push_back(
                {p.opponent, p.userOpens, percent(t.losses, t.games),
                 std::find(std::begin(kFixed), std::end(kFixed), p.opponent) != std::end(kFixed)});
    }
    for (const char *family : kFamilies) {
        std::vector<Pairing> members;
        for (int m = 1; m <= terms.members; ++m)
            bothWays(members, std::string(family) + "#" + std::to_string(m));
        const auto held = playAll(table, members, terms.holeGames, terms.holeSeed, threads, false);
        for (bool userOpens : {true, false}) {
            std::vector<double> losses;
            for (std::size_t i = 0; i < members.size(); ++i)
                if (members[i].userOpens == userOpens)
                    losses.push_back(percent(held[i].losses, held[i].games));
            f.rows.push_back(
                {"worst " + std::to_string(terms.worst) + " of " + std::to_string(terms.members) + " " + family,
                 userOpens, meanOfWorst(losses, terms.worst), false});
        }
    }
    return f;
}

RuleVerdict judgeRule(const RuleFigures &shipped, const RuleFigures &candidate, const RuleTerms &terms) {
    RuleVerdict v;
    char text[256];
    const double gain = shipped.score() - candidate.score();
    if (!(gain > terms.margin)) {
        std::snprintf(text, sizeof text, "score %.3f against the shipped %.3f: %.3f %s, not lower by more than %.1f",
                      candidate.score(), shipped.score(), std::abs(gain), gain < 0 ? "higher" : "lower", terms.margin);
        v.reasons.push_back(text);
    }
    if (shipped.rows.size() != candidate.rows.size())
        v.reasons.push_back("the two tables were not measured on the same rows");
    else
        for (std::size_t i = 0; i < candidate.rows.size(); ++i) {
            const RuleRow &c = candidate.rows[i];
            if (c.guarded && c.loss - shipped.rows[i].loss > terms.guard) {
                std::snprintf(text, sizeof text,
                              "%s, %s opens: %.1f against %.1f, more than %.1f points worse", c.name.c_str(),
                              c.userOpens ? "user" : "computer", c.loss, shipped.rows[i].loss, terms.guard);
                v.reasons.push_back(text);
            }
        }
    for (int side = 0; side < 2; ++side) {
        const char *who = side == 0 ? "user" : "computer";
        if (candidate.greedyWins[side] < terms.greedyFloor) {
            std::snprintf(text, sizeof text, "greedy, %s opens: %.1f %% won, under %.1f", who,
                          candidate.greedyWins[side], terms.greedyFloor);
            v.reasons.push_back(text);
        }
        if (!candidate.randomAll[side])
            v.reasons.push_back(std::string("random, ") + who + " opens: a game not won");
    }
    v.passes = v.reasons.empty();
    return v;
}

std::string formatRule(const RuleFigures &shipped, const RuleFigures &candidate, const RuleVerdict &verdict) {
    std::string out =
        "| row | opens | shipped loss % | candidate loss % | difference |\n|---|---|---:|---:|---:|\n";
    char line[256];
    for (std::size_t i = 0; i < candidate.rows.size() && i < shipped.rows.size(); ++i) {
        const RuleRow &c = candidate.rows[i];
        std::snprintf(line, sizeof line, "| %s%s | %s | %.1f | %.1f | %+.1f |\n", c.name.c_str(),
                      c.guarded ? " (guard)" : "", c.userOpens ? "user" : "computer", shipped.rows[i].loss,
                      c.loss, c.loss - shipped.rows[i].loss);
        out += line;
    }
    std::snprintf(line, sizeof line, "| score | both | %.3f | %.3f | %+.3f |\n", shipped.score(),
                  candidate.score(), candidate.score() - shipped.score());
    out += line;
    std::snprintf(line, sizeof line,
                  "\ngreedy won: shipped %.1f / %.1f %%, candidate %.1f / %.1f %%; random: candidate %s\n",
                  shipped.greedyWins[0], shipped.greedyWins[1], candidate.greedyWins[0],
                  candidate.greedyWins[1],
                  candidate.randomAll[0] && candidate.randomAll[1] ? "every game won" : "a game not won");
    out += line;
    out += verdict.passes ? "\nThe candidate passes the rule.\n" : "\nThe candidate does not pass:\n";
    for (const std::string &r : verdict.reasons)
        out += "- " + r + "\n";
    return out;
}

} // namespace ttt::bench
