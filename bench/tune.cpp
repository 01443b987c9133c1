// The tuner: searches for a better data file with a population of tables.
//
// Method. Tables are scored on two panels of opponents that share no opponent: a training panel,
// on which the search climbs, and a selection panel, which alone decides which table is written
// out. Each step takes a parent from the population (the better of two drawn at random) and makes
// a child of it: one to three random changes, or a crossover with another member. The child plays
// the training panel in batches, on the same games the members played; after each batch a
// sequential test stops it as soon as it is clearly worse than the worst member (two standard
// errors), so games go where the decision is close. A child that ends at least as good as the worst
// member replaces it. Every so often the members not yet seen by the selection panel play it, and
// the best of them by that score is written to OUT. A member that survives many comparisons on the
// same games is partly a lucky one: every R steps (--refresh) all members play a fresh window of
// training games and keep only those scores, so no luck carries over. Several starting tables make
// restarts: the population begins with all of them. Every table written loads in the game, declares a tie only
// when no line is left to complete, and tries the 16 seven-line cells first.
#include "bench/Mutation.h"
#include "bench/Panel.h"
#include "bench/Report.h"
#include "bench/SearchOptions.h"
#include "model/DataFile.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <tuple>
#include <thread>

using namespace ttt;
using namespace ttt::bench;

namespace {

struct Options : SearchOptions {
    Options() {
        train = "heuristics*2,forks*2,alphabeta:2,alphabeta:3,greedy*4";
        select = "searchers*2,tables,threats";
    }
    int population = 6, batch = 100, batches = 6, selectEvery = 20, refresh = 0;
};

struct Member {
    GameData table;
    std::vector<double> batches; // training score of each batch
    double selected = -1;        // selection score; -1 until played
    double train() const {
        double s = 0;
        for (double b : batches)
            s += b;
        return s / static_cast<double>(std::max<std::size_t>(1, batches.size()));
    }
};

int usage() {
    std::cerr << "usage: tune START... --out OUT [--train LIST] [--select LIST] [--population P] [--steps N]\n"
                 "          [--seconds S] [--seed S] [--threads T] [--batch B] [--batches K]\n"
                 "          [--select-games G] [--select-every N] [--refresh R]\n"
                 "  LIST: opponents with optional weights, \"heuristics*2,forks,greedy*4\"; the two panels\n"
                 "  must share no opponent. Stops after S seconds or N steps; with --steps alone a run is\n"
                 "  repeatable.\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    Options o;
    const auto more = [&o](const std::string &a, const std::string &v) {
        if (a == "--population") o.population = std::max(2, std::stoi(v));
        else if (a == "--batch") o.batch = std::max(10, std::stoi(v));
        else if (a == "--batches") o.batches = std::max(1, std::stoi(v));
        else if (a == "--select-every") o.selectEvery = std::max(1, std::stoi(v));
        else if (a == "--refresh") o.refresh = std::max(0, std::stoi(v));
        else return false;
        return true;
    };
    if (!readSearchOptions(argc, argv, o, more))
        return usage();
    Panel train, select;
    try {
        std::tie(train, select) = heldOutPanels(o.train, o.select, o.seed);
    } catch (const std::exception &e) {
        std::cerr << e.what() << '\n';
        return 2;
    }

    std::mt19937 rng(static_cast<std::uint32_t>(o.seed));
    std::vector<Member> pop;
    for (const auto &path : o.starts) {
        std::string error;
        const auto start = loadStart(path, error);
        if (!start) {
            std::cerr << error << '\n';
            return 1;
        }
        pop.push_back({*start, {}, -1});
    }
    for (std::size_t i = 0; pop.size() < static_cast<std::size_t>(o.population); ++i) {
        Member m{pop[i % o.starts.size()].table, {}, -1};
        do {
            m.table = pop[i % o.starts.size()].table;
            for (int n = 0; n < 3; ++n)
                mutate(m.table, rng);
        } while (!usable(m.table));
        pop.push_back(m);
    }
    int window = 0; // training games start at window * batches * batch
    const auto scoreBatch = [&](const GameData &d, int b) {
        return panelScore(d, train, (window * o.batches + b) * o.batch, o.batch, o.threads);
    };
    const auto byTrain = [](const Member &x, const Member &y) { return x.train() < y.train(); };
    const auto scoreAll = [&] {
        for (Member &m : pop) {
            m.batches.clear();
            for (int b = 0; b < o.batches; ++b)
                m.batches.push_back(scoreBatch(m.table, b));
        }
    };
    scoreAll();

    const auto begin = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(); };
    double bestSelected = 1e9;
    long steps = 0, kept = 0, stoppedEarly = 0;
    const auto selectRound = [&] {
        for (Member &m : pop)
            if (m.selected < 0) {
                m.selected = panelScore(m.table, select, 0, o.selectGames, o.threads);
                if (m.selected < bestSelected) {
                    bestSelected = m.selected;
                    writeTable(m.table, o.out);
                    std::fprintf(stderr, "%.0f s, step %ld: written, train %.4f select %.4f\n", elapsed(), steps, m.train(),
                                 m.selected);
                }
            }
    };
    selectRound();
    while (elapsed() < o.seconds && steps != o.steps) {
        ++steps;
        if (o.refresh > 0 && steps % o.refresh == 0) {
            ++window;
            scoreAll();
            std::fprintf(stderr, "%.0f s, step %ld: fresh games, best train %.4f\n", elapsed(), steps,
                         std::min_element(pop.begin(), pop.end(), byTrain)->train());
        }
        const auto draw = [&] { return &pop[static_cast<std::size_t>(rng() % pop.size())]; };
        const Member *a = draw(), *b = draw();
        Member child{(a->train() <= b->train() ? a : b)->table, {}, -1};
        std::string what;
        if (rng() % 10 < 3)
            what = crossover(child.table, draw()->table, rng);
        else
            for (int n = 0; n == 0 || (n < 3 && rng() % 10 < 3); ++n)
                what += (n ? "; " : "") + mutate(child.table, rng);
        if (!usable(child.table))
            continue;
        auto worst = std::max_element(pop.begin(), pop.end(), byTrain);
        bool worse = false;
        for (int bt = 0; bt < o.batches && !worse; ++bt) {
            child.batches.push_back(scoreBatch(child.table, bt));
            // The difference of the means so far, against its spread over the batches played.
            double diff = 0, sq = 0;
            const int n = static_cast<int>(child.batches.size());
            for (int i = 0; i < n; ++i) {
                const double d = child.batches[i] - worst->batches[i];
                diff += d;
                sq += d * d;
            }
            diff /= n;
            const double se = n > 1 ? std::sqrt(std::max(0.0, sq / n - diff * diff) / (n - 1)) : 1e9;
            worse = diff > 2 * se || (n == o.batches && diff > 0);
        }
        if (worse) {
            stoppedEarly += child.batches.size() < static_cast<std::size_t>(o.batches);
            continue;
        }
        *worst = child;
        ++kept;
        std::fprintf(stderr, "%.0f s, step %ld: %s -> train %.4f\n", elapsed(), steps, what.c_str(), child.train());
        if (kept % o.selectEvery == 0)
            selectRound();
    }
    selectRound();
    std::fprintf(stderr, "steps %ld, kept %ld, stopped early %ld; best selection score %.4f\n", steps, kept, stoppedEarly,
                 bestSelected);
    return 0;
}
