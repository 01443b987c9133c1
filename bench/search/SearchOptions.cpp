#include "bench/search/SearchOptions.h"

#include <algorithm>
#include <stdexcept>

namespace ttt::bench {

namespace {

// A number that fills the whole text.
template <typename T> T whole(const std::string &text, T (*read)(const std::string &, std::size_t *)) {
    std::size_t used = 0;
    const T v = read(text, &used);
    if (used != text.size())
        throw std::invalid_argument(text);
    return v;
}

int toInt(const std::string &s, std::size_t *n) { return std::stoi(s, n); }
long toLong(const std::string &s, std::size_t *n) { return std::stol(s, n); }
double toDouble(const std::string &s, std::size_t *n) { return std::stod(s, n); }
unsigned long long toSeed(const std::string &s, std::size_t *n) { return std::stoull(s, n); }

} // namespace

int intValue(const std::string &text) { return whole(text, toInt); }
double realValue(const std::string &text) { return whole(text, toDouble); }

std::string readSearchOptions(int argc, char **argv, SearchOptions &o,
                              const std::function<bool(const std::string &, const std::string &)> &more) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) != 0) {
            o.starts.push_back(a);
            continue;
        }
        if (i + 1 >= argc)
            return a + " needs a value";
        const std::string v = argv[++i];
        try {
            if (a == "--out") o.out = v;
            else if (a == "--train") o.train = v;
            else if (a == "--select") o.select = v;
            else if (a == "--select-games") o.selectGames = std::max(10, intValue(v));
            else if (a == "--steps") o.steps = whole(v, toLong), o.seconds = 1e12;
            else if (a == "--seconds") o.seconds = realValue(v);
            else if (a == "--seed") o.seed = whole(v, toSeed);
            else if (a == "--threads") o.threads = std::max(1, intValue(v));
            else if (!more(a, v)) return "unknown option '" + a + "'";
        } catch (const std::logic_error &) {
            return a + " takes a number, not '" + v + "'";
        }
    }
    if (o.starts.empty())
        return "no start table";
    return o.out.empty() ? "no --out" : "";
}

} // namespace ttt::bench
