#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ttt::bench {

// What both searches are told on their command line.
struct SearchOptions {
    std::vector<std::string> starts;
    std::string out, train, select;
    int selectGames = 400, threads = 2;
    long steps = -1; // with --steps alone a run is repeatable: no time limit
    double seconds = 600;
    std::uint64_t seed = 7;
};

// Reads a search's command line: words without "--" are start tables, the options above go into
// `o`, any other "--name value" to `more`, which returns false for a name it does not know. Returns
// what is wrong with the line, naming the argument (an unknown name, a name without a value, a value
// that is not a number, no start or no --out), or nothing when it is well formed.
std::string readSearchOptions(int argc, char **argv, SearchOptions &o,
                              const std::function<bool(const std::string &name, const std::string &value)> &more);

// The value of a numeric option, a number through and through; throws std::invalid_argument.
int intValue(const std::string &text);
double realValue(const std::string &text);

} // namespace ttt::bench
