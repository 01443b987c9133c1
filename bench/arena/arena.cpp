// The arena: plays the computer, with exactly the game's code and a given data file, against
// reference opponents on the user's side, and answers questions about a data file.
#include "bench/arena/Report.h"
#include "bench/arena/Rule.h"
#include "bench/study/Replies.h"
#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

using namespace ttt;
using namespace ttt::bench;

namespace {

const char *const kUsage =
    "usage:\n"
    "  arena play FILE [--games N] [--seed S] [--opponents a,b,...] [--threads T] [--timed] [--rows]\n"
    "      plays FILE against each opponent, both openings; prints a table of results, and with\n"
    "      --rows the share of the computer's turns each pattern row decided\n"
    "      opponents: random greedy forks threats alphabeta:N, and the families heuristics\n"
    "      forklevel searchers shallow deep tables mcts (default: the fixed ones but alphabeta:4,\n"
    "      and the families but forklevel, shallow and deep); NAME#N is member N of a family,\n"
    "      NAME#N-M members N to M\n"
    "  arena replies FILE [--games N] [--seed S] [--opponents a,b,...] [--threads T]\n"
    "      the computer opening: the loss after each answer of the user, in classes of answers\n"
    "      that the cube's maps keeping its first move make alike\n"
    "  arena holes FILE [--family NAME] [--members M] [--games N] [--seed S] [--threads T]\n"
    "      members 1 to M of a family (default forklevel, 30), each drawn once and kept as a fixed\n"
    "      player: each one's loss both ways, the mean, the worst member and the spread\n"
    "  arena rule FILE [--against SHIPPED] [--threads T]\n"
    "      the shipping rule: FILE and SHIPPED (default data/kubix.dat) on the rule's rows and seeds,\n"
    "      side by side, and whether FILE may replace SHIPPED (exit status 0 if it may, 1 if not)\n"
    "  arena trace FILE OPPONENT GAME [--seed S] [--computer-opens]   one game, move by move\n"
    "  arena timing FILE [--boards N] [--seed S]   mean and worst time of the computer's turn\n"
    "  arena check FILE      validates FILE as the game does\n"
    "  arena --help          this text\n";

// Exit status 2 and the usage, after saying what was wrong.
int usage(const std::string &problem) {
    std::cerr << "arena: " << problem << "\n" << kUsage;
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

// A whole number of at least `least`, or nothing.
std::optional<long> number(const std::string &text, long least) {
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || v < least)
        return std::nullopt;
    return v;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    const std::vector<std::string> commands = {"play", "replies", "holes", "rule", "trace", "timing", "check"};
    if (args.empty())
        return usage("no command");
    const std::string &command = args[0];
    if (std::find(commands.begin(), commands.end(), command) == commands.end())
        return usage("unknown command '" + command + "'");
    const std::size_t positional = command == "trace" ? 4 : 2;
    if (args.size() < positional)
        return usage(command + " needs " + (command == "trace" ? "FILE OPPONENT GAME" : "FILE"));

    long games = 1000, boards = 2000, game = 0, members = 30;
    std::string family = "forklevel", against = "data/kubix.dat";
    std::uint64_t seed = 1;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool timed = false, userOpens = true, rows = false;
    std::string opponents = "random,greedy,forks,threats,alphabeta:2,alphabeta:3,heuristics,searchers,tables,mcts";
    if (command == "trace") {
        opponents = args[2];
        const auto n = number(args[3], 0);
        if (!n)
            return usage("GAME must be a game number, not '" + args[3] + "'");
        game = *n;
    }
    // Which options each command takes, and whether they take a value.
    const std::map<std::string, std::vector<std::string>> takes = {
        {"play", {"--games", "--seed", "--opponents", "--threads", "--timed", "--rows"}},
        {"replies", {"--games", "--seed", "--opponents", "--threads"}},
        {"holes", {"--family", "--members", "--games", "--seed", "--threads"}},
        {"rule", {"--against", "--threads"}},
        {"trace", {"--seed", "--computer-opens"}},
        {"timing", {"--boards", "--seed"}},
        {"check", {}}};
    for (std::size_t i = positional; i < args.size(); ++i) {
        const std::string &opt = args[i];
        const auto &mine = takes.at(command);
        if (std::find(mine.begin(), mine.end(), opt) == mine.end())
            return usage("'" + opt + "' is not an option of " + command);
        if (opt == "--timed" || opt == "--rows") {
            (opt == "--timed" ? timed : rows) = true;
            continue;
        }
        if (opt == "--computer-opens") {
            userOpens = false;
            continue;
        }
        if (i + 1 >= args.size())
            return usage(opt + " needs a value");
        const std::string &value = args[++i];
        if (opt == "--opponents" || opt == "--family" || opt == "--against") {
            (opt == "--family" ? family : opt == "--against" ? against : opponents) = value;
            continue;
        }
        const auto n = number(value, opt == "--seed" ? 0 : 1);
        if (!n)
            return usage(opt + " takes a whole number" + (opt == "--seed" ? "" : " of at least 1") + ", not '" + value + "'");
        if (opt == "--games")
            games = *n;
        else if (opt == "--boards")
            boards = *n;
        else if (opt == "--members")
            members = *n;
        else if (opt == "--seed")
            seed = static_cast<std::uint64_t>(*n);
        else
            threads = static_cast<int>(*n);
    }
    if (command == "holes") {
        if (!isFamily(family))
            return usage("'" + family + "' is not a family");
        opponents.clear();
        for (long m = 1; m <= members; ++m)
            opponents += (m > 1 ? "," : "") + family + "#" + std::to_string(m);
    }
    std::vector<std::string> names;
    std::stringstream list(opponents);
    for (std::string item; std::getline(list, item, ',');) {
        try {
            const auto members = opponentNames(item);
            names.insert(names.end(), members.begin(), members.end());
        } catch (const std::invalid_argument &e) {
            return usage(e.what());
        }
    }

    const std::string &file = args[1];
    if (command == "check") {
        LoadResult r = readDataFile(file);
        std::cout << (r.data ? file + ": sound" : r.error) << '\n';
        return r.data ? 0 : 1;
    }
    const auto data = load(file);
    if (!data)
        return 1;
    if (command == "trace")
        return trace(*data, names.at(0), static_cast<int>(game), userOpens, seed);
    if (command == "timing")
        return timing(*data, static_cast<int>(boards), seed);
    if (command == "rule") {
        const auto base = load(against);
        if (!base)
            return 1;
        const RuleTerms terms;
        const RuleFigures before = measureRule(*base, terms, threads), after = measureRule(*data, terms, threads);
        const RuleVerdict verdict = judgeRule(before, after, terms);
        std::cout << formatRule(before, after, verdict);
        return verdict.passes ? 0 : 1;
    }
    if (command == "replies") {
        std::cout << formatReplies(studyReplies(*data, names, static_cast<int>(games), seed, threads));
        return 0;
    }
    std::vector<Pairing> pairings;
    for (const auto &name : names) {
        pairings.push_back({name, true});
        pairings.push_back({name, false});
    }
    const auto start = std::chrono::steady_clock::now();
    const auto tallies = playAll(*data, pairings, static_cast<int>(games), seed, threads, timed);
    std::cout << formatTable(pairings, tallies, timed);
    if (command == "holes")
        std::cout << '\n' << formatHoles(pairings, tallies);
    if (rows)
        std::cout << '\n' << formatRows(*data, pairings, tallies);
    std::cerr << "played in " << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              << " s\n";
    return 0;
}
