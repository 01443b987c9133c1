// The drill: searches for a better data file on positions instead of games.
//
// Method. Games of the current table against a panel of opponents give the positions it meets;
// for each, a forced-win search marks the computer's moves that lose at once to a chain of threes
// (or a double threat), and those that start a chain of its own that wins. A position counts when
// the choice matters: some move is safe and not every move is. A table's score is its share of
// blunders (a losing move where a safe one existed) plus, at a lower weight, of missed wins. The
// marks do not depend on which opponent reached a position, so the score does not learn an
// opponent's habits, and it has no noise: two tables on the same positions compare exactly. The
// climb keeps a change that scores no worse (equal ones let it drift across a plateau); every R
// kept changes (--regather) the positions are gathered anew from the current table's own games, and
// the table at the end of each round is written as OUT-roundN.dat, for games to judge. Every table
// written loads in the game, declares a tie only when no line is left to complete, and tries the
// 16 seven-line cells first.
#include "bench/Forcing.h"
#include "bench/Match.h"
#include "bench/Mutation.h"
#include "bench/Panel.h"
#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <unordered_map>

using namespace ttt;
using namespace ttt::bench;

namespace {

struct Options {
    std::string start, out;
    std::string panel = "forks,threats,alphabeta:2,alphabeta:3,greedy";
    int games = 200, depth = 6, threads = 2, regather = 40;
    double missWeight = 0.5, seconds = 600;
    long steps = -1;
    std::uint64_t seed = 11;
};

struct Marked {
    Board board;
    bool avoidable = false; // some move keeps the user from a forced win
    bool canWin = false;    // the computer has a forced win
};

class Collector : public MoveObserver {
  public:
    void userMoved(int) override {}
    void computerTurn(int, const std::string &) override {}
    void computerToMove(const Board &b) override { boards.push_back(b); }
    std::vector<Board> boards;
};

// The positions the table meets in `games` games against each opponent of the panel, both openings.
std::vector<Board> gather(const GameData &table, const Panel &panel, int games, int first, int threads) {
    std::vector<Board> all;
    std::mutex lock;
    std::atomic<std::size_t> next{0};
    const std::size_t tasks = panel.entries.size() * static_cast<std::size_t>(games);
    onThreads(threads, [&] {
        Collector c;
        std::unique_ptr<Opponent> user;
        std::string name;
        for (std::size_t t; (t = next++) < tasks;) {
            const auto &e = panel.entries[t / static_cast<std::size_t>(games)];
            if (e.opponent != name)
                user = makeOpponent(name = e.opponent);
            std::mt19937 rng = gameRng(
                panel.seed, first + static_cast<int>(t % static_cast<std::size_t>(games)), e.userOpens);
            playGame(table, *user, e.userOpens, rng, false, &c);
        }
        const std::lock_guard<std::mutex> g(lock);
        all.insert(all.end(), c.boards.begin(), c.boards.end());
    });
    return all;
}

// Marks each position; keeps those where the choice matters: the computer can force a win, or some
// moves let the user force one and some quiet move (one that makes no three) does not.
std::vector<Marked> mark(const std::vector<Board> &boards, int depth, int threads) {
    std::vector<Marked> out(boards.size());
    std::vector<char> keep(boards.size(), 0);
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        ForcedWins solver(depth);
        for (std::size_t i; (i = next++) < boards.size();) {
            Position p(boards[i]);
            if (!winningCells(p, kComputer).empty())
                continue; // the table always takes its win
            const auto threes = winningCells(p, kUser);
            Marked m{boards[i], false, solver.wins(p, kComputer)};
            bool someLose = false;
            for (int k = 1; k <= kCells; ++k) {
                if (!p.empty(k) || (!threes.empty() && k != threes[0]))
                    continue;
                const bool quiet = !threes.empty() || threatsMade(p, k, kComputer) == 0;
                p.play(k, kComputer);
                const bool lost = solver.wins(p, kUser);
                p.undo(k);
                someLose = someLose || lost;
                m.avoidable = m.avoidable || (quiet && !lost);
            }
            if (m.canWin || (m.avoidable && someLose)) {
                out[i] = m;
                keep[i] = 1;
            }
        }
    });
    std::vector<Marked> kept;
    for (std::size_t i = 0; i < out.size(); ++i)
        if (keep[i])
            kept.push_back(out[i]);
    return kept;
}

// The cell the computer's turn plays on this board, or 0 for a tie.
int chosen(const GameData &table, const Board &board) {
    GameState state;
    state.board = board;
    class None : public TurnView {
        void graph(const GameState &) override {}
        void setStatusCaption(const std::string &) override {}
        void setStatusColor(std::int32_t) override {}
    } view;
    ComputerPlayer computer(table, state, view);
    computer.mymove();
    return state.lastmymove;
}

enum class Line { Won, Lost, Quiet };

// The table plays on from `board`, the user answering each of its threes with the forced block,
// until it wins, lets the user win, or makes a quiet move; `board` is left where that ends. The
// table's own threes are judged by where its own play takes them, not by the first move alone.
Line playOn(const GameData &table, Board &board) {
    for (int turn = 0; turn < kCells; ++turn) {
        const int cell = chosen(table, board);
        if (cell == 0)
            return Line::Quiet; // a tie: nothing left to lose
        board(cell) = kComputer;
        const Position p(board);
        if (!winningCells(p, kUser).empty())
            return Line::Lost;
        const auto mine = winningCells(p, kComputer);
        if (mine.size() >= 2 && mine[0] != mine[1])
            return Line::Won;
        if (mine.empty())
            return Line::Quiet;
        board(mine[0]) = kUser;
    }
    return Line::Quiet;
}

struct Score {
    long blunders = 0, missed = 0, positions = 0;
    double value(double missWeight) const {
        return (static_cast<double>(blunders) + missWeight * static_cast<double>(missed)) /
               static_cast<double>(std::max(1L, positions));
    }
};

// Results of the user's forced-win search at the end of the table's play, by board; the same few
// boards come back for most tables, so each thread keeps its own.
using Memo = std::unordered_map<std::uint64_t, bool>;

std::uint64_t hashOf(const Board &b) {
    std::uint64_t h = 1469598103934665603ULL;
    for (int k = 1; k <= kCells; ++k)
        h = (h ^ static_cast<std::uint64_t>(b(k) + 3)) * 1099511628211ULL;
    return h;
}

Score score(const GameData &table, const std::vector<Marked> &marked, int depth, int threads,
            std::vector<Memo> &memos) {
    std::atomic<long> blunders{0}, missed{0};
    std::atomic<std::size_t> next{0}, slot{0};
    onThreads(threads, [&] {
        Memo &memo = memos[slot++];
        ForcedWins solver(depth);
        long b = 0, m = 0;
        for (std::size_t i; (i = next++) < marked.size();) {
            Board board = marked[i].board;
            const Line end = playOn(table, board);
            bool lost = end == Line::Lost;
            if (end == Line::Quiet && marked[i].avoidable) {
                const auto [it, fresh] = memo.try_emplace(hashOf(board), false);
                if (fresh)
                    it->second = solver.wins(Position(board), kUser);
                lost = it->second;
            }
            b += marked[i].avoidable && lost;
            m += marked[i].canWin && end != Line::Won;
        }
        blunders += b;
        missed += m;
    });
    return {blunders, missed, static_cast<long>(marked.size())};
}

bool usable(const GameData &d) {
    return checkData(d, "candidate").empty() && tieSafe(d) && sevenLineCellsFirst(d);
}

void write(const GameData &data, const std::string &path) {
    const std::string tmp = path + ".tmp";
    std::ofstream(tmp) << formatData(data);
    std::rename(tmp.c_str(), path.c_str());
}

int usage() {
    std::cerr << "usage: drill START --out OUT [--panel LIST] [--games G] [--depth D] [--miss-weight W]\n"
                 "          [--regather R] [--seconds S] [--steps N] [--seed S] [--threads T]\n"
                 "  Gathers positions from G games a side against each opponent of LIST, marks them with a\n"
                 "  forced-win search D threes deep, and climbs on blunders + W * missed wins.\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) != 0) {
            o.start = a;
            continue;
        }
        if (i + 1 >= argc)
            return usage();
        const std::string v = argv[++i];
        if (a == "--out")
            o.out = v;
        else if (a == "--panel")
            o.panel = v;
        else if (a == "--games")
            o.games = std::max(1, std::stoi(v));
        else if (a == "--depth")
            o.depth = std::max(1, std::stoi(v));
        else if (a == "--miss-weight")
            o.missWeight = std::stod(v);
        else if (a == "--regather")
            o.regather = std::max(1, std::stoi(v));
        else if (a == "--seconds")
            o.seconds = std::stod(v);
        else if (a == "--steps")
            o.steps = std::stol(v), o.seconds = 1e12;
        else if (a == "--seed")
            o.seed = std::stoull(v);
        else if (a == "--threads")
            o.threads = std::max(1, std::stoi(v));
        else
            return usage();
    }
    if (o.start.empty() || o.out.empty())
        return usage();
    Panel panel;
    try {
        panel = parsePanel(o.panel, o.seed * 2 + 1);
    } catch (const std::exception &e) {
        std::cerr << e.what() << '\n';
        return 2;
    }
    LoadResult r = readDataFile(o.start);
    if (!r.data || !usable(*r.data)) {
        std::cerr << o.start << ": "
                  << (r.data ? "must be tie-safe and try the 16 seven-line cells first" : r.error) << '\n';
        return 1;
    }
    GameData best = *r.data;
    std::mt19937 rng(static_cast<std::uint32_t>(o.seed));
    const auto begin = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };

    long steps = 0, kept = 0, better = 0;
    for (int round = 1; elapsed() < o.seconds && steps != o.steps; ++round) {
        const auto marked =
            mark(gather(best, panel, o.games, round * o.games, o.threads), o.depth, o.threads);
        std::vector<Memo> memos(static_cast<std::size_t>(o.threads));
        Score current = score(best, marked, o.depth, o.threads, memos);
        std::fprintf(stderr, "%.0f s, round %d: %zu positions; blunders %ld, missed wins %ld, score %.4f\n",
                     elapsed(), round, marked.size(), current.blunders, current.missed,
                     current.value(o.missWeight));
        for (long keptHere = 0; keptHere < o.regather && elapsed() < o.seconds && steps != o.steps;) {
            ++steps;
            GameData child = best;
            std::string what;
            for (int n = 0; n == 0 || (n < 3 && rng() % 10 < 3); ++n)
                what += (n ? "; " : "") + mutate(child, rng);
            if (!usable(child))
                continue;
            const Score s = score(child, marked, o.depth, o.threads, memos);
            if (s.value(o.missWeight) > current.value(o.missWeight))
                continue;
            better += s.value(o.missWeight) < current.value(o.missWeight);
            if (s.value(o.missWeight) < current.value(o.missWeight))
                std::fprintf(stderr, "%.0f s, step %ld: %s -> blunders %ld, missed %ld, score %.4f\n",
                             elapsed(), steps, what.c_str(), s.blunders, s.missed, s.value(o.missWeight));
            best = child;
            current = s;
            ++kept;
            ++keptHere;
            write(best, o.out);
        }
        write(best, o.out + "-round" + std::to_string(round) + ".dat");
    }
    write(best, o.out);
    std::fprintf(stderr, "steps %ld, kept %ld (%ld better, the rest equal)\n", steps, kept, better);
    return 0;
}
