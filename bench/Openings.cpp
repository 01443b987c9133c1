#include "bench/Openings.h"

#include "bench/Position.h"
#include "player/ComputerPlayer.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <set>
#include <stdexcept>

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

double mean(const OpeningStudy &s, std::size_t opp, const std::vector<int> &replies) {
    double sum = 0;
    for (std::size_t i = 0; i < s.rows.size(); ++i)
        sum += s.rows[i].answer(replies[i]).loss[opp];
    return sum / static_cast<double>(s.rows.size());
}

// The answer with the lowest weighted sum of losses, the first of equals.
const OpeningStudy::Answer &bestAnswer(const OpeningStudy::Row &row, const std::vector<double> &weight) {
    const auto score = [&](const OpeningStudy::Answer &a) {
        double v = 0;
        for (std::size_t o = 0; o < weight.size(); ++o)
            v += weight[o] * a.loss[o];
        return v;
    };
    return *std::min_element(row.answers.begin(), row.answers.end(),
                             [&](const auto &a, const auto &b) { return score(a) < score(b); });
}

std::vector<double> only(std::size_t opp, std::size_t opponents) {
    std::vector<double> w(opponents);
    w[opp] = 1;
    return w;
}

std::string coord(int cell) { return cell ? std::to_string(cellcoord(static_cast<int16>(cell))) : "none"; }

} // namespace

const OpeningStudy::Answer &OpeningStudy::Row::answer(int reply) const {
    for (const Answer &a : answers)
        if (a.reply == reply)
            return a;
    throw std::logic_error("no such answer");
}

OpeningStudy studyOpenings(const GameData &data, const std::vector<std::string> &opponents, int games,
                           std::uint64_t seed, int threads, bool computerOpens) {
    OpeningStudy s;
    s.opponents = opponents;
    if (computerOpens) {
        OpeningStudy::Row row{0, tableReply(data, 0), {}};
        for (int r = 1; r <= kCells; ++r)
            row.answers.push_back({r, std::vector<double>(opponents.size())});
        s.rows.push_back(row);
    }
    for (int k = 1; k <= kCells && !computerOpens; ++k) {
        const auto &through = Geometry::get().through[static_cast<std::size_t>(k)];
        if (through.size() != 7)
            continue;
        std::set<int> answers;
        for (int line : through) {
            const Line &cells = Geometry::get().lines[static_cast<std::size_t>(line)];
            answers.insert(cells.begin(), cells.end());
        }
        answers.erase(k);
        OpeningStudy::Row row{k, tableReply(data, k), {}};
        answers.insert(row.tableReply);
        for (int r : answers)
            row.answers.push_back({r, std::vector<double>(opponents.size())});
        s.rows.push_back(row);
    }
    struct Job {
        OpeningStudy::Row *row;
        OpeningStudy::Answer *answer;
        std::size_t opp;
    };
    std::vector<Job> jobs;
    for (auto &row : s.rows)
        for (auto &a : row.answers)
            for (std::size_t o = 0; o < opponents.size(); ++o)
                jobs.push_back({&row, &a, o});
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        for (std::size_t j; (j = next++) < jobs.size();) {
            const Opening opening{jobs[j].row->user, jobs[j].answer->reply};
            const Tally t = playMatch(data, opponents[jobs[j].opp], !computerOpens, games, seed, false, 0, &opening);
            jobs[j].answer->loss[jobs[j].opp] = 100.0 * static_cast<double>(t.losses) / static_cast<double>(t.games);
        }
    });
    return s;
}

std::string formatStudy(const OpeningStudy &s) {
    std::string out = "| opening | table's answer |";
    for (const auto &o : s.opponents)
        out += " " + o + " | best against " + o + " |";
    out += "\n|---|---|";
    for (std::size_t o = 0; o < s.opponents.size(); ++o)
        out += "---:|---|";
    out += "\n";
    char buf[64];
    for (const auto &row : s.rows) {
        out += "| " + coord(row.user) + " | " + coord(row.tableReply) + " |";
        for (std::size_t o = 0; o < s.opponents.size(); ++o) {
            const auto &best = bestAnswer(row, only(o, s.opponents.size()));
            std::snprintf(buf, sizeof buf, " %.1f | %s: %.1f |", row.answer(row.tableReply).loss[o],
                          coord(best.reply).c_str(), best.loss[o]);
            out += buf;
        }
        out += "\n";
    }
    // Mean loss per opponent with the given answers, one per opening.
    const auto means = [&](const std::vector<int> &replies) {
        std::string line;
        char mb[64];
        for (std::size_t o = 0; o < s.opponents.size(); ++o) {
            std::snprintf(mb, sizeof mb, " %s %.1f", s.opponents[o].c_str(), mean(s, o, replies));
            line += mb;
        }
        return line + "\n";
    };
    // Each opening takes the answer that minimises the weighted sum of losses.
    const auto mix = [&](const std::vector<double> &weight) {
        std::vector<int> replies;
        for (const auto &row : s.rows)
            replies.push_back(bestAnswer(row, weight).reply);
        return means(replies);
    };
    std::vector<int> own;
    for (const auto &row : s.rows)
        own.push_back(row.tableReply);
    out += "\nmean loss %, the table's answers:" + means(own);
    for (std::size_t o = 0; o < s.opponents.size(); ++o)
        out += "each opening's best answer against " + s.opponents[o] + ":" + mix(only(o, s.opponents.size()));
    if (s.opponents.size() == 2)
        for (double w : {0.25, 0.5, 1.0, 1.5, 2.0, 3.0}) {
            std::snprintf(buf, sizeof buf, "weight %.2f on %s:", w, s.opponents[1].c_str());
            out += buf + mix({1.0, w});
        }
    return out;
}

std::string formatAnswers(const OpeningStudy &s) {
    std::string out = "opening answer table";
    for (const auto &o : s.opponents)
        out += " " + o;
    out += "\n";
    char buf[32];
    for (const auto &row : s.rows)
        for (const auto &a : row.answers) {
            out += coord(row.user) + " " + coord(a.reply) + (a.reply == row.tableReply ? " 1" : " 0");
            for (double l : a.loss) {
                std::snprintf(buf, sizeof buf, " %.2f", l);
                out += buf;
            }
            out += "\n";
        }
    return out;
}

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
            const Opening opening{0, s.opening, u};
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
