// The tuner: improves a data file by hill climbing. Each step makes one random change (see
// mutate); a change is kept when it plays at least as well on the training games and also on a
// separate set of validation games with other seeds. Every table it
// writes loads in the game and can declare a tie only when no line is left to complete.
#include "bench/Mutation.h"
#include "bench/Report.h"
#include "model/DataFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <thread>

using namespace ttt;
using namespace ttt::bench;

namespace {

struct Set {
    std::vector<Pairing> pairings;
    std::vector<int> games;
    std::vector<double> weights;
    std::vector<double> tieWeights;
    std::uint64_t seed;
};

// Lower is better: weighted loss rate, with a tie counting as the set says (against weak opponents
// anything but a win is a miss).
double score(const GameData &data, const Set &set, int threads, std::vector<Tally> *out = nullptr) {
    std::vector<Tally> tallies(set.pairings.size());
    for (std::size_t i = 0; i < set.pairings.size(); ++i) {
        // Pairings are few and uneven; split each one's games between the threads instead.
        const int n = set.games[i];
        std::vector<Tally> parts(static_cast<std::size_t>(threads));
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t)
            pool.emplace_back([&, t] {
                parts[static_cast<std::size_t>(t)] =
                    playMatch(data, set.pairings[i].opponent, set.pairings[i].userOpens, n / threads + (t < n % threads),
                              set.seed + 1000003ULL * static_cast<std::uint64_t>(t));
            });
        for (auto &th : pool)
            th.join();
        for (const Tally &p : parts)
            tallies[i].add(p);
    }
    double s = 0;
    for (std::size_t i = 0; i < tallies.size(); ++i)
        s += set.weights[i] * (tallies[i].losses + set.tieWeights[i] * tallies[i].ties) /
             static_cast<double>(tallies[i].games);
    if (out)
        *out = tallies;
    return s;
}

// How much a loss counts against each opponent, by who opens, and how much of a loss a tie is.
struct Weight {
    const char *opponent;
    double userOpens, computerOpens, tie;
};
constexpr Weight kWeights[] = {{"forks", 2.0, 2.0, 0.2},      {"alphabeta:2", 1.0, 1.0, 0.2},
                               {"alphabeta:3", 2.0, 1.0, 0.2}, {"threats", 0.3, 0.3, 0.2},
                               {"greedy", 4.0, 4.0, 1.0}};

struct Games {
    const char *opponent;
    int userOpens, computerOpens;
};
// "all" weighs every opponent; "fast" leaves out the slow deep searchers and plays many more forks
// games instead, so that small gains against forks stand out of the noise; "balanced" keeps
// alphabeta:3 with enough games that forks cannot be bought with losses to it.
const std::map<std::string, std::vector<Games>> kMixes = {
    {"all",
     {{"forks", 300, 200}, {"alphabeta:2", 100, 60}, {"alphabeta:3", 80, 40}, {"threats", 30, 30}, {"greedy", 100, 60}}},
    {"fast", {{"forks", 2000, 2000}, {"alphabeta:2", 150, 100}, {"greedy", 300, 300}}},
    {"balanced", {{"forks", 1000, 1000}, {"alphabeta:2", 150, 100}, {"alphabeta:3", 300, 150}, {"greedy", 300, 300}}},
};

Set makeSet(std::uint64_t seed, int scale, const std::vector<Games> &mix) {
    Set s;
    s.seed = seed;
    for (const Games &g : mix) {
        const auto w = std::find_if(std::begin(kWeights), std::end(kWeights),
                                    [&](const Weight &x) { return std::string(x.opponent) == g.opponent; });
        for (bool userOpens : {true, false}) {
            s.pairings.push_back({g.opponent, userOpens});
            s.games.push_back((userOpens ? g.userOpens : g.computerOpens) * scale);
            s.weights.push_back(userOpens ? w->userOpens : w->computerOpens);
            s.tieWeights.push_back(w->tie);
        }
    }
    return s;
}

void write(const GameData &data, const std::string &path) {
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp);
        out << formatData(data);
    }
    std::rename(tmp.c_str(), path.c_str());
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::cerr << "usage: tune IN OUT [--seconds S] [--steps N] [--seed S] [--threads T] [--scale K]\n"
                     "          [--mix all|fast|balanced] [--refresh N]\n"
                     "  stops after S seconds or N steps, whichever comes first; with --steps alone a run\n"
                     "  is repeatable: same seed, same steps, same table; --refresh N draws new training and\n"
                     "  validation seeds every N steps\n";
        return 2;
    }
    double seconds = 600;
    long maxSteps = -1;
    std::uint64_t seed = 7;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    int scale = 1;
    std::string mix = "all";
    long refresh = 0;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--seconds")
            seconds = std::atof(argv[i + 1]);
        else if (opt == "--steps") {
            maxSteps = std::atol(argv[i + 1]);
            seconds = 1e12;
        }
        else if (opt == "--seed")
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (opt == "--threads")
            threads = std::max(1, std::atoi(argv[i + 1]));
        else if (opt == "--scale")
            scale = std::max(1, std::atoi(argv[i + 1]));
        else if (opt == "--refresh")
            refresh = std::atol(argv[i + 1]);
        else if (opt == "--mix")
            mix = argv[i + 1];
    }
    LoadResult start = readDataFile(argv[1]);
    if (!start.data) {
        std::cerr << start.error << '\n';
        return 1;
    }
    if (!tieSafe(*start.data) || !sevenLineCellsFirst(*start.data)) {
        std::cerr << argv[1] << ": the table must be tie-safe and try the 16 seven-line cells first\n";
        return 1;
    }
    // Training and validation games never share seeds; the validation set is twice as large.
    const auto games = kMixes.find(mix);
    if (games == kMixes.end()) {
        std::cerr << "--mix is all, fast or balanced\n";
        return 2;
    }
    Set train = makeSet(seed * 2 + 1, scale, games->second);
    Set valid = makeSet(seed * 2 + 1000000007ULL, 2 * scale, games->second);
    std::mt19937 rng(static_cast<std::uint32_t>(seed));

    GameData best = *start.data;
    double bestTrain = score(best, train, threads);
    double bestValid = score(best, valid, threads);
    std::fprintf(stderr, "start: train %.4f valid %.4f\n", bestTrain, bestValid);
    const auto begin = std::chrono::steady_clock::now();
    long steps = 0, evaluated = 0, validated = 0, kept = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() < seconds &&
           steps != maxSteps) {
        ++steps;
        // Fixed games are learnt by heart after a while: every so often both sets get new seeds and
        // the current table is scored afresh on them.
        if (refresh > 0 && steps % refresh == 0) {
            train.seed += 2;
            valid.seed += 2;
            bestTrain = score(best, train, threads);
            bestValid = score(best, valid, threads);
            std::fprintf(stderr, "step %ld: new seeds: train %.4f valid %.4f\n", steps, bestTrain, bestValid);
        }
        GameData candidate = best;
        std::string what = mutate(candidate, rng);
        // Now and then two or three changes at once, to cross a ridge one change cannot.
        while (std::uniform_real_distribution<double>(0, 1)(rng) < 0.3)
            what += "; " + mutate(candidate, rng);
        if (!checkData(candidate, "candidate").empty() || !tieSafe(candidate) || !sevenLineCellsFirst(candidate) ||
            candidate == best)
            continue;
        ++evaluated;
        const double t = score(candidate, train, threads);
        if (t > bestTrain)
            continue;
        ++validated;
        const double v = score(candidate, valid, threads);
        if (v > bestValid)
            continue;
        bestValid = v;
        ++kept;
        best = candidate;
        bestTrain = t;
        write(best, argv[2]);
        std::fprintf(stderr, "step %ld: %s -> train %.4f valid %.4f\n", steps, what.c_str(), bestTrain, bestValid);
    }
    std::vector<Tally> tallies;
    score(best, valid, threads, &tallies);
    std::cout << formatTable(valid.pairings, tallies, false);
    std::fprintf(stderr, "steps %ld, evaluated %ld, validated %ld, kept %ld; final train %.4f valid %.4f\n", steps,
                 evaluated, validated, kept, bestTrain, bestValid);
    write(best, argv[2]);
    return 0;
}
