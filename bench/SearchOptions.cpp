#include "bench/SearchOptions.h"

#include <algorithm>
#include <stdexcept>

namespace ttt::bench {

bool readSearchOptions(int argc, char **argv, SearchOptions &o,
                       const std::function<bool(const std::string &, const std::string &)> &more) {
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string a = argv[i];
            if (a.rfind("--", 0) != 0) {
                o.starts.push_back(a);
                continue;
            }
            if (i + 1 >= argc)
                return false;
            const std::string v = argv[++i];
            if (a == "--out") o.out = v;
            else if (a == "--train") o.train = v;
            else if (a == "--select") o.select = v;
            else if (a == "--select-games") o.selectGames = std::max(10, std::stoi(v));
            else if (a == "--steps") o.steps = std::stol(v), o.seconds = 1e12;
            else if (a == "--seconds") o.seconds = std::stod(v);
            else if (a == "--seed") o.seed = std::stoull(v);
            else if (a == "--threads") o.threads = std::max(1, std::stoi(v));
            else if (!more(a, v)) return false;
        }
    } catch (const std::logic_error &) { // a value that is not a number
        return false;
    }
    return !o.starts.empty() && !o.out.empty();
}

} // namespace ttt::bench
