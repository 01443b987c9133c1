#pragma once

#include "bench/arena/Opponents.h"

#include <filesystem>
#include <vector>

namespace ttt::bench {

// The players behind makeOpponent, each family in its own file.

// Heuristics.cpp: level 0 random, 1 greedy, 2 forks, 3 threats; a family draws a member per game:
// heuristics of any level, or fork level alone.
enum class Family { None, Heuristics, ForkLevel };
std::unique_ptr<Opponent> makeHeuristic(int level, Family family);

// Searchers.cpp: alpha-beta `depth` plies deep with the fixed evaluation, or a family: searchers of
// any depth with noise, depth 2 with noise, or deep ones without.
enum class SearchFamily { None, Searchers, Shallow, Deep };
std::unique_ptr<Opponent> makeSearcher(int depth, SearchFamily family);

// Tables.cpp: the family of pattern tables on the user's side, drawn from the files of a folder
// taken in name order.
std::unique_ptr<Opponent> makeTableFamily();
std::vector<std::filesystem::path> tableFiles(const std::filesystem::path &dir);

// MonteCarlo.cpp: the family of Monte Carlo tree searchers.
std::unique_ptr<Opponent> makeMonteCarloFamily();

} // namespace ttt::bench
