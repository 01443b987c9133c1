// The climber: a hill climb on many more games per decision than the tuner can afford.
//
// Method. The current table plays a window of N games per opponent and opening of the training
// panel, and each game is recorded. A changed table (one to three random changes) is judged on the
// same games by replaying them: while it answers as the current table did the opponent's moves are
// taken from the record, and only from its first different answer on is the game played (Replay.h).
// Most changes touch few games, so a child costs a fraction of its games, and the comparison is
// exactly paired: only the games it plays otherwise count. A child replaces the current table when
// its weighted losses are lower by more than --margin standard errors of the paired difference, or
// when it plays every game the same (a change these games cannot see; it lets line orders drift
// across a plateau). Every W steps (--window) a fresh window of games is recorded, so no luck on one
// window lasts, and the current table plays the selection panel, which the climb never sees: the best
// table by that score is written to OUT, and the current one to OUT-wK.dat.
//
// Hops (--hop). A change of a pattern row alone nearly always loses, because the line order has grown
// around the rows; a strict climb never crosses that valley. With --hop, each window starts from the
// best table so far (home) with one forced change of its pattern rows (the least harmful of a few)
// and climbs from there; at the end of the window the result meets home on fresh games, recorded by
// home, and replaces it only when better by the same margin.
//
// Steering (--steer F). A random change seldom touches a turn that decided a lost game. A fraction F
// of the children are made from the window's losses instead: a turn of a lost game, and another cell
// the deciding row could have taken there, made the scan's first (steer in Mutation.h).
//
// Members (--members M). A family drawing a new member every game shows a hole, a line some members
// win on every time, as one lost game among thousands. With M, each training family is played as M
// members kept through a window and drawn anew for the next, so a hole weighs as often as its
// member plays, and still no member's lines can be learnt for long. With --keep 1 the same M members
// play every window: a hole once closed stays in training, and whether closing the holes of a few
// players closes other players' is for the selection panel and the held-out judges to say. With
// --keep K, K sets of M members take turns window by window: each set stays in training, and no
// window's step can settle on one set's lines.
//
// Each kind (--each K). The panel's sum lets a gain on one kind of player pay for a loss on
// another. With K, a child is also refused when any one opponent of the panel (a family with all its
// members) does worse by more than K standard errors of its own paired difference.
//
// Mirroring (--mirror F, with --steer). The scan plays some sides of the cube far better than others,
// though the opponents play them all alike. A fraction F of the steered children take, instead of any
// other candidate, the cell the table itself takes on the same board turned to another side
// (imageChoices in Mutation.h).
#include "bench/arena/Progress.h"
#include "bench/search/Mutation.h"
#include "bench/search/Panel.h"
#include "bench/search/Replay.h"
#include "bench/search/SearchOptions.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <tuple>

using namespace ttt;
using namespace ttt::bench;

namespace {

struct Options : SearchOptions {
    Options() {
        train = "forks*2,alphabeta:2,alphabeta:3*2,greedy*3";
        select = "heuristics,searchers";
        seed = 13;
    }
    int games = 2000, window = 150, members = 0;
    double margin = 1.0, steer = 0, mirror = 0, each = -1, holes = 0;
    int keep = 0;
    bool hop = false;
};

double cost(const Panel::Entry &e, Outcome o) {
    return e.weight * (o == Outcome::UserWins ? 1.0 : o == Outcome::Tie ? e.tieWeight : 0.0);
}

struct Window {
    std::vector<Panel::Entry> entries; // as played: with --members, the families' members of this window
    std::vector<ReplayGame> games;
    std::vector<std::size_t> entry; // of each game, in entries
    std::vector<bool> kept;         // of each entry: a member kept through the window
    std::vector<std::size_t> group; // of each entry: its opponent on the panel (a family's members are one)
    std::size_t groups = 0;
    std::vector<GameLog> logs;
    const Panel::Entry &of(std::size_t game) const { return entries[entry[game]]; }
};

// N games per entry, numbered from `first`; windows that must not share a game get apart ranges.
// With --members M each family is played as M members of this block of games, N / M games each;
// member numbers start past the ones the report judges (1 to 90).
// With `holes` P > 0 each kept member's weight is scaled by its loss rate here (holeWeights), so the
// window's worst members weigh most, as the shipping rule's worst tenth does.
Window record(const GameData &table, const Panel &panel, int n, int first, int threads, int members = 0,
              int block = 0, double holes = 0) {
    Window win;
    std::vector<std::string> names; // the panel's opponents, each once for both openings
    for (const auto &e : panel.entries) {
        const std::size_t group = std::find(names.begin(), names.end(), e.opponent) - names.begin();
        if (group == names.size())
            names.push_back(e.opponent);
        const bool expand = members > 0 && isFamily(e.opponent);
        for (int j = 0; j < (expand ? members : 1); ++j) {
            Panel::Entry played = e;
            if (expand)
                played.opponent += "#" + std::to_string(1000 + (block * members + j) % 999000);
            win.entries.push_back(played);
            win.kept.push_back(expand);
            win.group.push_back(group);
            for (int i = 0; i < (expand ? std::max(1, n / members) : n); ++i) {
                win.games.push_back({played.opponent, played.userOpens, panel.seed, first + i});
                win.entry.push_back(win.entries.size() - 1);
            }
        }
    }
    win.groups = names.size();
    win.logs.resize(win.games.size());
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        for (std::size_t i; (i = next++) < win.games.size();)
            win.logs[i] = replay(table, win.games[i]);
    });
    if (holes > 0) {
        std::vector<double> rate(win.entries.size(), 0.0), count(win.entries.size(), 0.0);
        for (std::size_t i = 0; i < win.games.size(); ++i) {
            rate[win.entry[i]] += cost(win.of(i), win.logs[i].outcome) / win.of(i).weight;
            count[win.entry[i]] += 1;
        }
        // A set is a family on one opening; fixed players are sets of their own and keep weight 1.
        std::vector<std::size_t> set(win.entries.size());
        for (std::size_t e = 0; e < win.entries.size(); ++e) {
            rate[e] /= std::max(1.0, count[e]);
            set[e] = win.kept[e] ? 2 * win.group[e] + win.entries[e].userOpens : 2 * win.groups + e;
        }
        const std::vector<double> w = holeWeights(rate, set, holes);
        for (std::size_t e = 0; e < win.entries.size(); ++e)
            win.entries[e].weight *= w[e];
    }
    return win;
}

struct Verdict {
    double diff = 0, se = 0; // weighted losses per game and entry, child minus current
    double worst = 0;        // the largest of each opponent's difference over its own error
    long diverged = 0;
    std::vector<GameLog> logs;
};

// `blind`, when given, is a game that is played but whose outcome does not count: the one a steered
// child came from. It still counts as changed, so a child that changes it alone is not taken as one
// no game can see.
Verdict judge(const GameData &child, const Window &win, int n, int threads,
              std::optional<std::size_t> blind = std::nullopt) {
    Verdict v;
    v.logs.resize(win.games.size());
    std::vector<double> d(win.games.size(), 0.0);
    std::atomic<long> diverged{0};
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        for (std::size_t i; (i = next++) < win.games.size();) {
            bool changed = false;
            v.logs[i] = replay(child, win.games[i], &win.logs[i], &changed);
            diverged += changed;
            if (changed && i != blind)
                d[i] = cost(win.of(i), v.logs[i].outcome) - cost(win.of(i), win.logs[i].outcome);
        }
    });
    // The games of a kept member are not independent: a change that wins back its one line wins all
    // of them. So a member's games count as one term of the variance, or a climb fits the window's
    // members and loses on the family. Sums go per opponent, then to the panel's.
    std::vector<double> sum(win.groups, 0.0), sq(win.groups, 0.0), perMember(win.entries.size(), 0.0);
    for (std::size_t i = 0; i < d.size(); ++i) {
        const std::size_t e = win.entry[i];
        sum[win.group[e]] += d[i];
        if (win.kept[e])
            perMember[e] += d[i];
        else
            sq[win.group[e]] += d[i] * d[i];
    }
    for (std::size_t e = 0; e < win.entries.size(); ++e)
        sq[win.group[e]] += perMember[e] * perMember[e];
    double all = 0, allSq = 0;
    v.worst = -1e9;
    for (std::size_t g = 0; g < win.groups; ++g) {
        all += sum[g];
        allSq += sq[g];
        if (sum[g] != 0)
            v.worst = std::max(v.worst, sum[g] / std::sqrt(sq[g]));
    }
    v.diff = all / n;
    v.se = std::sqrt(allSq) / n;
    v.diverged = diverged;
    return v;
}

// A change led by the window's losses: a computer turn of a game it lost, and another cell the row
// that decided that turn could have taken. Empty when the drawn turn allows none. The game it came
// from goes in `from`: judged on it, the child would start with a game won back by choice.
std::string steered(GameData &child, const Window &win, double mirror, std::mt19937 &rng,
                    std::optional<std::size_t> &from) {
    // A loss is drawn as often as it weighs, so the panel's weights steer too.
    std::vector<double> weight(win.games.size());
    double total = 0;
    for (std::size_t i = 0; i < win.games.size(); ++i)
        total += weight[i] = cost(win.of(i), win.logs[i].outcome);
    if (total <= 0)
        return {};
    const std::size_t g = std::discrete_distribution<std::size_t>(weight.begin(), weight.end())(rng);
    const std::vector<int> &moves = win.logs[g].moves;
    // Computer turns sit at odd places when the user opens; a move is kind 0, its value the cell.
    const std::size_t parity = win.games[g].userOpens ? 1 : 0;
    std::vector<std::size_t> turns;
    for (std::size_t j = parity; j < moves.size(); j += 2)
        if (moves[j] < 100)
            turns.push_back(j);
    if (turns.empty())
        return {};
    const std::size_t t = turns[rng() % turns.size()];
    Table<int16, kCells> board;
    for (std::size_t j = 0; j < t; ++j)
        if (j % 2 != parity)
            board(moves[j]) = kUser;
        else if (moves[j] < 100)
            board(moves[j]) = kComputer;
    const bool mirrored = mirror > 0 && std::uniform_real_distribution<double>(0, 1)(rng) < mirror;
    std::vector<int> cells;
    if (mirrored) {
        cells = imageChoices(child, board, rng);
    } else {
        for (int c = 1; c <= kCells; ++c)
            if (board(c) == kEmpty)
                cells.push_back(c);
        std::shuffle(cells.begin(), cells.end(), rng);
    }
    for (int c : cells)
        if (steer(child, board, c, rng)) {
            from = g;
            return std::string(mirrored ? "mirror" : "steer") + " to " + std::to_string(c) + " at move " +
                   std::to_string(t + 1) + " of a lost game";
        }
    return {};
}

const char *const kUsage =
    "usage: climb START --out OUT [--train LIST] [--select LIST] [--games N] [--window W]\n"
    "          [--margin K] [--select-games G] [--seconds S] [--steps N] [--seed S] [--threads T]\n"
    "          [--hop 1] [--steer F] [--mirror F] [--members M [--keep K] [--holes P]] [--each K]\n"
    "  Climbs from the table START on the training panel; writes the best table on the selection\n"
    "  panel to OUT, and the current one to OUT-wK.dat at each window.\n"
    "  LIST: opponents with optional weights, \"forks*2,greedy*3\", or \"forks*4/6\" for the two\n"
    "  openings apart (user / computer opens); \"searchers#1-8*0.25\" is members 1 to 8, each\n"
    "  weighed 0.25; the panels share no fixed player.\n"
    "  --members M: each training family is played as M members kept through a window, new ones\n"
    "  every window, each on N / M games; with --keep 1 the same M members all climb long, with\n"
    "  --keep K that many sets of M members in turn.\n"
    "  --holes P: each member weighs as 1 plus its loss in the window over its family's mean, to\n"
    "  the power P (averaging 1), so the worst members weigh most.\n"
    "  --each K: no opponent may do worse by more than K of its own standard errors.\n"
    "  climb --help   this text\n";

// printf into a string, for the run's log.
template <typename... Args> std::string format(const char *fmt, Args... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

} // namespace

int main(int argc, char **argv) {
    Options o;
    const auto more = [&o](const std::string &a, const std::string &v) {
        if (a == "--games")
            o.games = std::max(10, intValue(v));
        else if (a == "--window")
            o.window = std::max(1, intValue(v));
        else if (a == "--margin")
            o.margin = realValue(v);
        else if (a == "--hop")
            o.hop = intValue(v) != 0;
        else if (a == "--steer")
            o.steer = realValue(v);
        else if (a == "--mirror")
            o.mirror = realValue(v);
        else if (a == "--members")
            o.members = std::max(0, intValue(v));
        else if (a == "--each")
            o.each = realValue(v);
        else if (a == "--keep")
            o.keep = std::max(0, intValue(v));
        else if (a == "--holes")
            o.holes = std::max(0.0, realValue(v));
        else
            return false;
        return true;
    };
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    std::string problem = readSearchOptions(argc, argv, o, more);
    if (problem.empty() && o.starts.size() > 1)
        problem = "one start table, not " + std::to_string(o.starts.size());
    if (!problem.empty()) {
        std::cerr << "climb: " << problem << "\n" << kUsage;
        return 2;
    }
    Panel train, select;
    try {
        std::tie(train, select) = heldOutPanels(o.train, o.select, o.seed);
    } catch (const std::exception &e) {
        std::cerr << "climb: " << e.what() << "\n" << kUsage;
        return 2;
    }
    std::string error;
    const auto start = loadStart(o.starts.front(), error);
    if (!start) {
        std::cerr << error << '\n';
        return 1;
    }
    GameData current = *start, home = *start;
    std::mt19937 rng(static_cast<std::uint32_t>(o.seed));
    const auto begin = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };

    // Steps done, and the time left from --seconds or the rate against --steps.
    Progress progress("climb: step", o.steps > 0 ? o.steps : 0, o.steps > 0 ? 0 : o.seconds);
    double bestSelected = 1e9;
    const auto block = [&o](int w) { return o.keep > 0 ? w % o.keep : w; }; // which members a window meets
    long steps = 0, kept = 0, unseen = 0, played = 0, hops = 0, hopsKept = 0;
    std::optional<double> shownSelected; // the selection score of home (with hops) or current
    // With hops the climbs use even window numbers and the meetings with home odd ones, so no game
    // that chose a step also judges the hop.
    const auto settleHop = [&](int w) {
        const Window fresh =
            record(home, train, o.games, (2 * w + 1) * o.games, o.threads, o.members, block(2 * w + 1), o.holes);
        const Verdict v = judge(current, fresh, o.games, o.threads);
        const bool better = v.diverged > 0 && v.diff < -o.margin * v.se;
        ++hops;
        hopsKept += better;
        if (better) {
            home = current;
            shownSelected.reset();
        }
        progress.note(format("%.0f s, hop %ld: %+.4f (se %.4f) against home, %s", elapsed(), hops, v.diff,
                             v.se, better ? "kept" : "back home"));
    };
    // Most changes of a row cost far more than a window's climb wins back, so the kick is the least
    // harmful of a few, tried on a small window of their own.
    const auto kick = [&](int w) {
        constexpr int kCandidates = 8, kProbeFirst = 1'000'000'000;
        const int m = std::max(10, o.games / 5);
        const Window probe = record(home, train, m, kProbeFirst + w * m, o.threads, o.members, block(2 * w), o.holes);
        double least = 1e9;
        std::string chosen = "none changes a game";
        current = home;
        for (int c = 0, tries = 0; c < kCandidates && tries < 1000; ++tries) {
            GameData kicked = home;
            const std::string what = mutate(kicked, rng);
            if (kicked.patterns == home.patterns || !usable(kicked))
                continue;
            ++c;
            const Verdict v = judge(kicked, probe, m, o.threads);
            if (v.diverged > 0 && v.diff < least) {
                least = v.diff;
                current = std::move(kicked);
                chosen = what + " (" + std::to_string(v.diff) + " on the probe)";
            }
        }
        progress.note(format("%.0f s, kick: %s", elapsed(), chosen.c_str()));
    };
    for (int w = 0; elapsed() < o.seconds && steps != o.steps; ++w) {
        if (o.hop && w > 0)
            settleHop(w - 1);
        const GameData &shown = o.hop ? home : current;
        bool written = false;
        if (!o.hop || !shownSelected) {
            shownSelected = panelScore(shown, select, 0, o.selectGames, o.threads);
            if (*shownSelected < bestSelected) {
                written = true;
                bestSelected = *shownSelected;
                writeTable(shown, o.out);
            }
        }
        writeTable(shown, o.out + "-w" + std::to_string(w) + ".dat");
        if (o.hop && w > 0)
            kick(w);
        Window win = record(current, train, o.games, (o.hop ? 2 * w : w) * o.games, o.threads, o.members,
                            block(o.hop ? 2 * w : w), o.holes);
        progress.note(format("%.0f s, window %d: selection %.4f%s", elapsed(), w, *shownSelected,
                             written ? " (written)" : ""));
        for (int s = 0; s < o.window && elapsed() < o.seconds && steps != o.steps; ++s) {
            ++steps;
            progress.advance();
            GameData child = current;
            std::string what;
            std::optional<std::size_t> from;
            // No draw without --steer, so old runs repeat.
            if (o.steer > 0 && std::uniform_real_distribution<double>(0, 1)(rng) < o.steer)
                what = steered(child, win, o.mirror, rng, from);
            else
                for (int n = 0; n == 0 || (n < 3 && rng() % 10 < 3); ++n)
                    what += (n ? "; " : "") + mutate(child, rng);
            if (what.empty() || !usable(child))
                continue;
            Verdict v = judge(child, win, o.games, o.threads, from);
            played += v.diverged;
            const bool same = v.diverged == 0;
            if (!same && (!(v.diff < -o.margin * v.se) || (o.each >= 0 && v.worst > o.each)))
                continue;
            unseen += same;
            ++kept;
            current = child;
            win.logs = std::move(v.logs);
            if (!same)
                progress.note(format("%.0f s, step %ld: %s -> %+.4f (se %.4f, %ld games differ)", elapsed(),
                                     steps, what.c_str(), v.diff, v.se, v.diverged));
        }
        if (o.hop && !(elapsed() < o.seconds && steps != o.steps)) {
            settleHop(w);
            current = home;
        }
    }
    // With hops the run ends at home, whose score is known unless the last hop replaced it.
    const double selected =
        o.hop && shownSelected ? *shownSelected : panelScore(current, select, 0, o.selectGames, o.threads);
    if (selected < bestSelected) {
        bestSelected = selected;
        writeTable(current, o.out);
    }
    writeTable(current, o.out + "-last.dat");
    progress.note(
        format("steps %ld, kept %ld (%ld that no game saw), games replayed from a difference %ld; best "
               "selection %.4f, last %.4f; hops %ld, kept %ld",
               steps, kept, unseen, played, bestSelected, selected, hops, hopsKept));
    return 0;
}
