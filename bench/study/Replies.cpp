#include "bench/study/Replies.h"

#include "bench/arena/Position.h"
#include "player/ComputerPlayer.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <set>

namespace ttt::bench {

namespace {

int tableReply(const GameData &data, int user) {
    GameState state;
    CaptionView view;
    ComputerPlayer computer(data, state, view);
    if (user)
        state.board(user) = kUser;
    computer.mymove();
    return state.lastmymove;
}

std::string coord(int cell) { return cell ? std::to_string(cellcoord(static_cast<int16>(cell))) : "none"; }

} // namespace

ReplyStudy studyReplies(const GameData &data, const std::vector<std::string> &opponents, int games,
                        std::uint64_t seed, int threads) {
    ReplyStudy s{tableReply(data, 0), opponents, std::vector<std::vector<double>>(kCells + 1)};
    std::vector<std::pair<int, std::size_t>> jobs;
    for (int u = 1; u <= kCells; ++u) {
        s.loss[static_cast<std::size_t>(u)].resize(opponents.size());
        for (std::size_t o = 0; o < opponents.size() && u != s.opening; ++o)
            jobs.emplace_back(u, o);
    }
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        for (std::size_t j; (j = next++) < jobs.size();) {
            const auto [u, o] = jobs[j];
            const Opening opening{s.opening, u};
            const Tally t = playMatch(data, opponents[o], false, games, seed, false, 0, &opening);
            s.loss[static_cast<std::size_t>(u)][o] = 100.0 * static_cast<double>(t.losses) / static_cast<double>(t.games);
        }
    });
    return s;
}

std::string formatReplies(const ReplyStudy &s) {
    std::vector<const CellMap *> fixing;
    for (const CellMap &m : cubeMaps())
        if (m[static_cast<std::size_t>(s.opening)] == s.opening)
            fixing.push_back(&m);
    std::string out = "computer's first move " + coord(s.opening) + "; answers alike under the " +
                      std::to_string(fixing.size()) + " maps that keep it:\n";
    std::vector<double> played(s.opponents.size()), best(s.opponents.size());
    int onSeven = 0;
    std::set<int> seen{s.opening};
    char buf[64];
    for (int u = 1; u <= kCells; ++u) {
        if (seen.count(u))
            continue;
        std::set<int> alike;
        for (const CellMap *m : fixing)
            alike.insert((*m)[static_cast<std::size_t>(u)]);
        seen.insert(alike.begin(), alike.end());
        const bool seven = onSevenLines(u); // the maps keep how many lines a cell lies on
        for (std::size_t o = 0; o < s.opponents.size(); ++o) {
            out += s.opponents[o] + ":";
            double sum = 0, least = 100;
            for (int v : alike) {
                const double l = s.loss[static_cast<std::size_t>(v)][o];
                std::snprintf(buf, sizeof buf, " %s %.1f", coord(v).c_str(), l);
                out += buf;
                sum += l;
                least = std::min(least, l);
            }
            if (seven) {
                played[o] += sum;
                best[o] += least * static_cast<double>(alike.size());
            }
            out += "\n";
        }
        if (seven)
            onSeven += static_cast<int>(alike.size());
    }
    for (std::size_t o = 0; o < s.opponents.size(); ++o) {
        std::snprintf(buf, sizeof buf, "%s, answers on seven lines: as played %.1f, ", s.opponents[o].c_str(),
                      played[o] / onSeven);
        out += buf;
        std::snprintf(buf, sizeof buf, "each class as its best %.1f\n", best[o] / onSeven);
        out += buf;
    }
    return out;
}

} // namespace ttt::bench
