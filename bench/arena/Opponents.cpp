#include "bench/arena/Opponents.h"

#include "bench/arena/opponents/Players.h"

namespace ttt::bench {

int pick(const std::vector<int> &cells, std::mt19937 &rng) {
    return cells[std::uniform_int_distribution<std::size_t>(0, cells.size() - 1)(rng)];
}

std::vector<int> emptyCells(const Position &p) {
    std::vector<int> out;
    for (int k = 1; k <= kCells; ++k)
        if (p.empty(k))
            out.push_back(k);
    return out;
}

double uniform(std::mt19937 &rng, double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }

int below(std::mt19937 &rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

bool isFamily(const std::string &name) {
    return name == "heuristics" || name == "searchers" || name == "tables" || name == "mcts";
}

std::unique_ptr<Opponent> makeOpponent(const std::string &name) {
    const char *levels[] = {"random", "greedy", "forks", "threats"};
    for (int level = 0; level < 4; ++level)
        if (name == levels[level])
            return makeHeuristic(level, false);
    if (name.rfind("alphabeta:", 0) == 0 && name.size() == 11 && name[10] >= '1' && name[10] <= '6')
        return makeSearcher(name[10] - '0', false);
    if (name == "heuristics")
        return makeHeuristic(2, true);
    if (name == "searchers")
        return makeSearcher(2, true);
    if (name == "tables")
        return makeTableFamily();
    if (name == "mcts")
        return makeMonteCarloFamily();
    return nullptr;
}

} // namespace ttt::bench
