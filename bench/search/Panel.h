#pragma once

#include "bench/arena/Match.h"

#include <string>
#include <utility>
#include <vector>

namespace ttt::bench {

// A set of opponents a table is scored against: each on both openings, with a weight for its
// losses and the share of a loss that a tie counts (a full loss against random and greedy, which a
// sound table always beats; a fifth against the rest).
struct Panel {
    struct Entry {
        std::string opponent;
        bool userOpens;
        double weight, tieWeight;
    };
    std::vector<Entry> entries;
    std::uint64_t seed = 1;
};

// "heuristics*2,forks,greedy*4": names as makeOpponent takes them, each with an optional weight;
// "forks*3/6" weighs it 3 when the user opens and 6 when the computer does; "searchers#1-8*0.25"
// names members 1 to 8, each weighed 0.25.
// Throws std::invalid_argument for an unknown opponent, a bad range or a bad weight.
Panel parsePanel(const std::string &names, std::uint64_t seed);

// A search's training and selection panels, from its seed. They may share no fixed player: the
// selection must be held out from training. A family may stand on both, since each panel draws its
// members from a seed of its own. Throws std::invalid_argument.
std::pair<Panel, Panel> heldOutPanels(const std::string &train, const std::string &select, std::uint64_t seed);

// The weighted loss, lower is better, of games [first, first + games) of every entry, played on
// up to `threads` threads. The games of a number are the same for every table as long as the
// tables play alike, so two tables' scores on the same games are a paired comparison.
double panelScore(const GameData &data, const Panel &panel, int first, int games, int threads,
                  std::vector<Tally> *tallies = nullptr);

// Weights that lean a climb on its holes: 1 plus each member's loss rate over the mean of the
// members in its set (a family on one opening), raised to `power` and scaled so that a set's weights
// average 1, so a family weighs as much as before. The 1 keeps a member that never wins in play: at
// weight 0 a climb could open a hole for it for free. A set whose members never win keeps 1 each.
std::vector<double> holeWeights(const std::vector<double> &rate, const std::vector<std::size_t> &set, double power);

} // namespace ttt::bench
