#pragma once

#include "model/GameData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ttt::bench {

// The rule a climb's candidate must pass to replace the shipped table, fixed before the runs it
// judges (docs/strength.md, "When a table is shipped"). Only tests shrink the games.
struct RuleTerms {
    std::uint64_t seed = 9191, holeSeed = 9292;
    int games = 2000, holeGames = 300, members = 30, worst = 3;
    double margin = 1.0;       // points of score the candidate must gain
    double guard = 2.0;        // points a held-out fixed player's row may lose at most
    double greedyFloor = 99.5; // % of games won against greedy, each opening
};

struct RuleRow {
    std::string name; // an opponent, or "worst 3 of 30 FAMILY"
    bool userOpens = true;
    double loss = 0;      // % of games the computer lost
    bool guarded = false; // a held-out fixed player: the guard applies
};

struct RuleFigures {
    std::vector<RuleRow> rows;          // the rows of the score
    double greedyWins[2] = {0, 0};      // % won, user opens / computer opens
    bool randomAll[2] = {false, false}; // every game won against random
    double score() const;               // mean loss over the rows
};

// Plays a table on every row of the rule.
RuleFigures measureRule(const GameData &table, const RuleTerms &terms, int threads);

// The mean of the k largest values: the worst tenth of a family's fixed members.
double meanOfWorst(std::vector<double> losses, int k);

struct RuleVerdict {
    bool passes = false;
    std::vector<std::string> reasons; // each condition the candidate misses
};

RuleVerdict judgeRule(const RuleFigures &shipped, const RuleFigures &candidate, const RuleTerms &terms);

// Both tables' rows side by side with their differences, the scores and the verdict, in Markdown.
std::string formatRule(const RuleFigures &shipped, const RuleFigures &candidate, const RuleVerdict &verdict);

} // namespace ttt::bench
