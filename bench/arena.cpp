// The arena: plays the computer, with exactly the game's code and a given data file, against
// reference opponents on the user's side, and answers questions about a data file.
#include "bench/Mutation.h"
#include "bench/Openings.h"
#include "bench/Report.h"
#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <chrono>
#include <cstring>
#include <iostream>
#include <sstream>
#include <thread>

using namespace ttt;
using namespace ttt::bench;

namespace {

int usage() {
    std::cerr << "usage:\n"
                 "  arena play FILE [--games N] [--seed S] [--opponents a,b,...] [--threads T] [--timed]\n"
                 "      opponents: random greedy forks threats alphabeta:N, and the families heuristics\n"
                 "      searchers tables mcts (default: the fixed ones but alphabeta:4, and every family)\n"
                 "  arena probe FILE      boards on standard input, 64 of . X O a line; prints patnum choice\n"
                 "  arena check FILE      validates FILE as the game does\n"
                 "  arena timing FILE [--boards N] [--seed S]   worst time of the computer's turn\n"
                 "  arena openings FILE [--games N] [--seed S] [--opponents a,b] [--threads T] [--computer-opens] [--all]\n"
                 "      the loss after each first answer to an opening on a cell of seven lines (or after each\n"
                 "      first move of the computer), the table playing on from there; with --all, every answer's\n"
                 "      loss to every opponent, a line each\n"
                 "  arena replies FILE [--games N] [--seed S] [--opponents a,b] [--threads T]\n"
                 "      the computer opening: the loss after each answer of the user, in classes of answers\n"
                 "      that the cube's maps keeping its first move make alike\n"
                 "  arena reorder FILE OUT   writes FILE with every line's seven-line cells first and the lines\n"
                 "      through none of them last\n"
                 "  arena trace FILE OPPONENT GAME [--computer-opens] [--seed S]   one game, move by move\n";
    return 2;
}

std::optional<GameData> load(const std::string &file) {
    LoadResult r = readDataFile(file);
    if (!r.data)
        std::cerr << r.error << '\n';
    return r.data;
}

class Quiet : public TurnView {
  public:
    void graph(const GameState &) override {}
    void setStatusCaption(const std::string &) override {}
    void setStatusColor(std::int32_t) override {}
};

int probe(const GameData &data) {
    std::string text;
    int lineNo = 0;
    while (std::getline(std::cin, text)) {
        ++lineNo;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty())
            continue;
        GameState state;
        bool ok = text.size() == kCells;
        for (int k = 1; ok && k <= kCells; ++k) {
            const char ch = text[static_cast<std::size_t>(k - 1)];
            ok = ch == '.' || ch == 'X' || ch == 'O';
            state.board(k) = ch == 'X' ? kUser : ch == 'O' ? kComputer : kEmpty;
        }
        if (!ok) {
            std::cerr << "line " << lineNo << ": a board is 64 characters of '.', 'X' and 'O'\n";
            return 1;
        }
        Quiet view;
        ComputerPlayer player(data, state, view);
        player.analyze();
        std::cout << player.patnum << ' ' << player.choice << '\n';
    }
    return 0;
}

// Times analyze on many boards: random ones at every stage of a game, and boards grown move by move
// towards the slowest found (each candidate timed as the best of several runs, against noise).
int timing(const GameData &data, int boards, std::uint64_t seed) {
    std::mt19937 rng(static_cast<std::uint32_t>(seed));
    Quiet view;
    const auto timeTurn = [&](const GameState &s) {
        double best = 1e18;
        for (int rep = 0; rep < 5; ++rep) {
            GameState copy = s;
            ComputerPlayer player(data, copy, view);
            const auto start = std::chrono::steady_clock::now();
            player.mymove();
            best = std::min(best, std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count());
        }
        return best;
    };
    double worst = 0, total = 0;
    long count = 0;
    GameState worstBoard;
    const auto consider = [&](const GameState &s) {
        const double t = timeTurn(s);
        total += t;
        ++count;
        if (t > worst) {
            worst = t;
            worstBoard = s;
        }
    };
    for (int b = 0; b < boards; ++b) {
        GameState s;
        const int fill = static_cast<int>(rng() % 63);
        for (int i = 0; i < fill; ++i) {
            int k;
            do
                k = static_cast<int>(rng() % kCells) + 1;
            while (s.board(k) != kEmpty);
            s.board(k) = i % 2 ? kComputer : kUser;
        }
        consider(s);
    }
    // Climb: change one cell of the slowest board at a time, keep what is slower.
    for (int step = 0; step < boards; ++step) {
        GameState s = worstBoard;
        const int k = static_cast<int>(rng() % kCells) + 1;
        s.board(k) = static_cast<int16>(std::array<int, 3>{kEmpty, kUser, kComputer}[rng() % 3]);
        consider(s);
    }
    std::string text;
    for (int k = 1; k <= kCells; ++k)
        text += worstBoard.board(k) == kUser ? 'X' : worstBoard.board(k) == kComputer ? 'O' : '.';
    std::printf("boards timed: %ld\nmean turn: %.2f us\nworst turn: %.2f us\nslowest board: %s\n", count,
                total / 1000.0 / count, worst / 1000.0, text.c_str());
    return 0;
}

// Replays game number `game` of a match, printing each move and the pattern row behind each of the
// computer's.
int trace(const GameData &data, const std::string &opponent, int game, bool userOpens, std::uint64_t seed) {
    auto user = makeOpponent(opponent);
    if (!user)
        return usage();
    class Printer : public MoveObserver {
      public:
        void userMoved(int cell) override { std::printf("X %d\n", cellcoord(static_cast<int16>(cell))); }
        void computerTurn(int patnum, const std::string &caption) override {
            std::printf("  O: %-28s (row %d)\n", caption.c_str(), patnum);
        }
    } printer;
    std::mt19937 rng = gameRng(seed, game, userOpens);
    playGame(data, *user, userOpens, rng, false, &printer);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    const std::string file = argv[2];
    if (command == "check") {
        LoadResult r = readDataFile(file);
        std::cout << (r.data ? file + ": sound" : r.error) << '\n';
        return r.data ? 0 : 1;
    }
    const auto data = load(file);
    if (!data)
        return 1;
    if (command == "probe")
        return probe(*data);
    if (command == "reorder") {
        if (argc != 4)
            return usage();
        GameData table = *data;
        sevenLineCellsAhead(table);
        writeTable(table, argv[3]);
        return 0;
    }
    if (command == "trace") {
        if (argc < 5)
            return usage();
        bool userOpens = true;
        std::uint64_t seed = 1;
        for (int i = 5; i < argc; ++i) {
            if (std::strcmp(argv[i], "--computer-opens") == 0)
                userOpens = false;
            else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
                seed = std::strtoull(argv[++i], nullptr, 10);
        }
        return trace(*data, argv[3], std::atoi(argv[4]), userOpens, seed);
    }

    int games = 1000, boards = 2000;
    std::uint64_t seed = 1;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool timed = false, computerOpens = false, allAnswers = false;
    std::string opponents = "random,greedy,forks,threats,alphabeta:2,alphabeta:3,heuristics,searchers,tables,mcts";
    for (int i = 3; i < argc; ++i) {
        const std::string opt = argv[i];
        const bool hasValue = i + 1 < argc;
        if (opt == "--games" && hasValue)
            games = std::atoi(argv[++i]);
        else if (opt == "--boards" && hasValue)
            boards = std::atoi(argv[++i]);
        else if (opt == "--seed" && hasValue)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (opt == "--opponents" && hasValue)
            opponents = argv[++i];
        else if (opt == "--threads" && hasValue)
            threads = std::max(1, std::atoi(argv[++i]));
        else if (opt == "--timed")
            timed = true;
        else if (opt == "--computer-opens" && command == "openings")
            computerOpens = true;
        else if (opt == "--all" && command == "openings")
            allAnswers = true;
        else
            return usage();
    }
    if (command == "timing")
        return timing(*data, boards, seed);
    std::vector<std::string> names;
    std::stringstream list(opponents);
    for (std::string name; std::getline(list, name, ',');) {
        if (!makeOpponent(name)) {
            std::cerr << "unknown opponent: " << name << '\n';
            return 2;
        }
        names.push_back(name);
    }
    if (command == "openings" || command == "replies") {
        if (games < 1) {
            std::cerr << command << " needs at least one game an answer\n";
            return 2;
        }
        if (command == "replies") {
            std::cout << formatReplies(studyReplies(*data, names, games, seed, threads));
            return 0;
        }
        const OpeningStudy study = studyOpenings(*data, names, games, seed, threads, computerOpens);
        std::cout << (allAnswers ? formatAnswers(study) : formatStudy(study));
        return 0;
    }
    if (command != "play")
        return usage();

    std::vector<Pairing> pairings;
    for (const auto &name : names) {
        pairings.push_back({name, true});
        pairings.push_back({name, false});
    }
    const auto start = std::chrono::steady_clock::now();
    const auto tallies = playAll(*data, pairings, games, seed, threads, timed);
    std::cout << formatTable(pairings, tallies, timed);
    std::cerr << "played in " << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              << " s\n";
    return 0;
}
