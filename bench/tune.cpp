// The tuner: improves a data file by hill climbing. Each step makes one random change (see
// mutate); a change is kept when it plays at least as well on the training games and also on a
// separate set of validation games with other seeds. Every table it
// writes loads in the game and can declare a tie only when no line is left to complete.
#include "bench/Mutation.h"
#include "bench/Report.h"
#include "model/DataFile.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
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

// "all" weighs every opponent; "fast" leaves out the slow deep searchers and plays many more forks
// games instead, so that small gains against forks stand out of the noise; "balanced" keeps
// alphabeta:3 with enough games that forks cannot be bought with losses to it.
Set makeSet(std::uint64_t seed, int scale, const std::string &mix) {
    Set s;
    s.seed = seed;
    const auto add = [&](const char *name, bool userOpens, int games, double weight, double tieWeight) {
        s.pairings.push_back({name, userOpens});
        s.games.push_back(games * scale);
        s.weights.push_back(weight);
        s.tieWeights.push_back(tieWeight);
    };
    if (mix == "fast") {
        add("forks", true, 2000, 2.0, 0.2);
        add("forks", false, 2000, 2.0, 0.2);
        add("alphabeta:2", true, 150, 1.0, 0.2);
        add("alphabeta:2", false, 100, 1.0, 0.2);
        add("greedy", true, 300, 4.0, 1.0);
        add("greedy", false, 300, 4.0, 1.0);
        return s;
    }
    if (mix == "balanced") {
        add("forks", true, 1000, 2.0, 0.2);
        add("forks", false, 1000, 2.0, 0.2);
        add("alphabeta:2", true, 150, 1.0, 0.2);
        add("alphabeta:2", false, 100, 1.0, 0.2);
        add("alphabeta:3", true, 300, 2.0, 0.2);
        add("alphabeta:3", false, 150, 1.0, 0.2);
        add("greedy", true, 300, 4.0, 1.0);
        add("greedy", false, 300, 4.0, 1.0);
        return s;
    }
    add("forks", true, 300, 2.0, 0.2);
    add("forks", false, 200, 2.0, 0.2);
    add("alphabeta:2", true, 100, 1.0, 0.2);
    add("alphabeta:2", false, 60, 1.0, 0.2);
    add("alphabeta:3", true, 80, 2.0, 0.2);
    add("alphabeta:3", false, 40, 1.0, 0.2);
    add("threats", true, 30, 0.3, 0.2);
    add("threats", false, 30, 0.3, 0.2);
    add("greedy", true, 100, 4.0, 1.0);
    add("greedy", false, 60, 4.0, 1.0);
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
    if (mix != "all" && mix != "fast" && mix != "balanced") {
        std::cerr << "--mix is all, fast or balanced\n";
        return 2;
    }
    Set train = makeSet(seed * 2 + 1, scale, mix);
    Set valid = makeSet(seed * 2 + 1000000007ULL, 2 * scale, mix);
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
