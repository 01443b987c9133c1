#include "bench/arena/Match.h"

#include "player/ComputerPlayer.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace ttt::bench {

GameRecord playGame(const GameData &data, Opponent &user, bool userOpens, std::mt19937 &rng, bool timed,
                    MoveObserver *observer, const Opening *opening) {
    GameState state;
    CaptionView view;
    ComputerPlayer computer(data, state, view);
    GameRecord r;
    user.newGame(rng);
    if (opening) {
        state.board(opening->computer) = kComputer;
        state.board(opening->answer) = kUser;
    }
    const auto computerTurn = [&] {
        const auto start = std::chrono::steady_clock::now();
        computer.mymove();
        if (timed) {
            const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
            r.turnNanos += ns;
            r.worstTurnNanos = std::max(r.worstTurnNanos, ns);
        }
        ++r.turns;
        ++r.rows[computer.choice == 0 ? kPatternRows + 1 : static_cast<std::size_t>(computer.patnum)];
        if (observer)
            observer->computerTurn(computer.patnum, view.caption);
    };
    if (!userOpens || opening)
        computerTurn();
    while (state.gameover == 0) {
        if (state.boardFull())
            throw std::logic_error("the game goes on with a full board");
        const int m = user.choose(state.board, rng);
        if (m < 1 || m > kCells || state.board(m) != kEmpty)
            throw std::logic_error("an opponent chose an occupied cell");
        state.board(m) = kUser;
        if (observer)
            observer->userMoved(m);
        computerTurn();
    }
    for (int k = 1; k <= kCells; ++k)
        r.moves += state.board(k) != kEmpty;
    if (view.caption.rfind("you win", 0) == 0) {
        r.outcome = Outcome::UserWins;
    } else if (view.caption.rfind("I win", 0) == 0) {
        r.outcome = Outcome::ComputerWins;
        ++r.moves; // the winning cell is drawn, not entered
    } else {
        r.outcome = Outcome::Tie;
        r.openTie = state.lineStillOpen();
    }
    return r;
}

void Tally::add(const GameRecord &g) {
    ++games;
    wins += g.outcome == Outcome::ComputerWins;
    losses += g.outcome == Outcome::UserWins;
    ties += g.outcome == Outcome::Tie;
    openTies += g.openTie;
    moves += g.moves;
    turns += g.turns;
    turnNanos += g.turnNanos;
    worstTurnNanos = std::max(worstTurnNanos, g.worstTurnNanos);
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k] += g.rows[k];
}

void Tally::add(const Tally &t) {
    games += t.games;
    wins += t.wins;
    losses += t.losses;
    ties += t.ties;
    openTies += t.openTies;
    moves += t.moves;
    turns += t.turns;
    turnNanos += t.turnNanos;
    worstTurnNanos = std::max(worstTurnNanos, t.worstTurnNanos);
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k] += t.rows[k];
}

Tally playMatch(const GameData &data, const std::string &opponent, bool userOpens, int games, std::uint64_t seed,
                bool timed, int first, const Opening *opening) {
    auto user = makeOpponent(opponent);
    if (!user)
        throw std::invalid_argument("unknown opponent: " + opponent);
    Tally t;
    for (int i = first; i < first + games; ++i) {
        std::mt19937 rng = gameRng(seed, i, userOpens);
        t.add(playGame(data, *user, userOpens, rng, timed, nullptr, opening));
    }
    return t;
}

void onThreads(int threads, const std::function<void()> &work) {
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (auto &t : pool)
        t.join();
}

std::mt19937 gameRng(std::uint64_t seed, int game, bool userOpens) {
    std::seed_seq seq{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                      static_cast<std::uint32_t>(game), static_cast<std::uint32_t>(userOpens)};
    return std::mt19937(seq);
}

} // namespace ttt::bench
