#include "bench/search/Panel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace ttt::bench {

namespace {

double parseWeight(const std::string &text, const std::string &item) {
    std::size_t used = 0;
    double w = -1;
    try {
        w = std::stod(text, &used);
    } catch (const std::exception &) {
    }
    if (used != text.size() || !(w >= 0))
        throw std::invalid_argument("bad weight in: " + item);
    return w;
}

} // namespace

Panel parsePanel(const std::string &names, std::uint64_t seed) {
    Panel panel;
    panel.seed = seed;
    std::stringstream list(names);
    for (std::string item; std::getline(list, item, ',');) {
        const std::size_t star = item.find('*');
        // "*U/C" weighs the two openings apart: U when the user opens, C when the computer does.
        double weight[2] = {1.0, 1.0};
        if (star != std::string::npos) {
            const std::string w = item.substr(star + 1);
            const std::size_t slash = w.find('/');
            weight[0] = parseWeight(w.substr(0, slash), item);
            weight[1] = slash == std::string::npos ? weight[0] : parseWeight(w.substr(slash + 1), item);
        }
        for (const std::string &name : opponentNames(item.substr(0, star))) {
            const double tie = name == "random" || name == "greedy" ? 1.0 : 0.2;
            // An opening weighed 0 is left out rather than played for nothing: a slow searcher can
            // be trained on one opening alone.
            for (bool userOpens : {true, false})
                if (const double w = weight[userOpens ? 0 : 1]; w > 0)
                    panel.entries.push_back({name, userOpens, w, tie});
        }
    }
    return panel;
}

std::pair<Panel, Panel> heldOutPanels(const std::string &train, const std::string &select, std::uint64_t seed) {
    auto out = std::make_pair(parsePanel(train, seed * 2 + 1), parsePanel(select, seed * 2 + 1000000007ULL));
    for (const auto &t : out.first.entries)
        for (const auto &s : out.second.entries)
            if (t.opponent == s.opponent && !isFamily(t.opponent)) // a family draws other members there
                throw std::invalid_argument(t.opponent + " is on both panels: selection must be held out from training");
    return out;
}

double panelScore(const GameData &data, const Panel &panel, int first, int games, int threads,
                  std::vector<Tally> *tallies) {
    // Work in slices of a few games, so the threads stay busy however uneven the opponents are.
    constexpr int kSlice = 10;
    const int slices = (games + kSlice - 1) / kSlice;
    const std::size_t tasks = panel.entries.size() * static_cast<std::size_t>(slices);
    std::vector<Tally> parts(tasks);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t t; (t = next++) < tasks;) {
            const auto &e = panel.entries[t / static_cast<std::size_t>(slices)];
            const int from = first + static_cast<int>(t % static_cast<std::size_t>(slices)) * kSlice;
            const int n = std::min(kSlice, first + games - from);
            parts[t] = playMatch(data, e.opponent, e.userOpens, n, panel.seed, false, from);
        }
    };
    onThreads(threads, work);
    std::vector<Tally> sums(panel.entries.size());
    for (std::size_t t = 0; t < tasks; ++t)
        sums[t / static_cast<std::size_t>(slices)].add(parts[t]);
    double score = 0;
    for (std::size_t i = 0; i < sums.size(); ++i) {
        const auto &e = panel.entries[i];
        score += e.weight * (sums[i].losses + e.tieWeight * sums[i].ties) / static_cast<double>(std::max(1L, sums[i].games));
    }
    if (tallies)
        *tallies = sums;
    return score;
}

std::vector<double> holeWeights(const std::vector<double> &rate, const std::vector<std::size_t> &set, double power) {
    const std::size_t sets = set.empty() ? 0 : *std::max_element(set.begin(), set.end()) + 1;
    std::vector<double> w(rate.size(), 1.0), sum(sets, 0.0), n(sets, 0.0), raised(sets, 0.0);
    for (std::size_t i = 0; i < rate.size(); ++i)
        sum[set[i]] += rate[i], n[set[i]] += 1;
    for (std::size_t i = 0; i < rate.size(); ++i)
        if (sum[set[i]] > 0)
            raised[set[i]] += w[i] = std::pow(1.0 + rate[i] * n[set[i]] / sum[set[i]], power);
    for (std::size_t i = 0; i < rate.size(); ++i)
        if (sum[set[i]] > 0)
            w[i] *= n[set[i]] / raised[set[i]];
    return w;
}

} // namespace ttt::bench
