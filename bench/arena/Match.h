#pragma once

#include "bench/arena/Opponents.h"
#include "model/GameData.h"
#include "player/TurnView.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace ttt::bench {

enum class Outcome { ComputerWins, UserWins, Tie };

// The computer's turn seen from outside the window: only its last status caption is kept.
class CaptionView : public TurnView {
  public:
    void graph(const GameState &) override {}
    void setStatusCaption(const std::string &c) override { caption = c; }
    void setStatusColor(std::int32_t) override {}
    std::string caption;
};

// The computer's turns decided by each pattern row (1 to 14); the last place counts the turns no row
// decided (a fallback cell, or the tie).
using RowCounts = std::array<long, kPatternRows + 2>;

struct GameRecord {
    Outcome outcome = Outcome::Tie;
    bool openTie = false; // "tie game" while some line could still be completed
    int moves = 0;        // marks placed by both sides
    int turns = 0;        // computer's turns taken
    double turnNanos = 0; // their total time
    double worstTurnNanos = 0;
    RowCounts rows{};
};

// Told of every move of a game as it is played, for replaying one game move by move.
class MoveObserver {
  public:
    virtual ~MoveObserver() = default;
    virtual void userMoved(int cell) = 0;
    virtual void computerTurn(int patnum, const std::string &caption) = 0;
};

// The computer's opening move and the user's answer, set on the board before the game goes on with
// the computer to move.
struct Opening {
    int computer = 0;
    int answer = 0;
};

// One game with the game's own rules: the user (the opponent) moves, then the computer's turn
// declares the user's win, its own win or a tie, or moves. With userOpens false the computer moves
// first, as after SKIP MOVE. With an opening, the game goes on from it.
GameRecord playGame(const GameData &data, Opponent &user, bool userOpens, std::mt19937 &rng, bool timed = false,
                    MoveObserver *observer = nullptr, const Opening *opening = nullptr);

// The random source of game number `game` of a match with this seed: a game can be replayed alone.
std::mt19937 gameRng(std::uint64_t seed, int game, bool userOpens);

struct Tally {
    long games = 0, wins = 0, losses = 0, ties = 0, openTies = 0, moves = 0, turns = 0;
    double turnNanos = 0, worstTurnNanos = 0;
    RowCounts rows{};
    void add(const GameRecord &g);
    void add(const Tally &t);
};

// `games` games, each seeded from `seed` and its number, so two tables meet the same opponent moves
// for as long as they play alike.
// Runs `work` on `threads` threads at once, this one among them, and returns when all are done.
void onThreads(int threads, const std::function<void()> &work);

// `first` is the number of the first game, so a match can be played in parts; every game may start
// from the same opening.
Tally playMatch(const GameData &data, const std::string &opponent, bool userOpens, int games, std::uint64_t seed,
                bool timed = false, int first = 0, const Opening *opening = nullptr);

} // namespace ttt::bench
