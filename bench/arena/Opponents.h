#pragma once

#include "bench/arena/Position.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace ttt::bench {

// A player on the user's side (X). It looks only at the board, never at the computer's data file.
class Opponent {
  public:
    virtual ~Opponent() = default;
    // Called before each game; a family draws the parameters of this game's member here.
    virtual void newGame(std::mt19937 &) {}
    // The user's next move: an empty cell. Called only while one is left.
    virtual int choose(const Board &board, std::mt19937 &rng) = 0;
};

// Fixed opponents, whose play never changes from game to game:
//   random        any empty cell
//   greedy        completes its own line, else blocks a line of three O, else random
//   forks         greedy, then makes a double threat, then blocks the computer's double-threat cell,
//                 else the cell on the most open lines
//   threats       as forks, but before blocking it plays a forcing chain of threes ending in a double
//                 threat, when it finds one (up to 8 moves deep)
//   alphabeta:N   alpha-beta minimax N plies deep over a line-count evaluation, random among equals
// Families, which draw a new member for every game from the game's random source:
//   heuristics    greedy, forks or threats with random priorities, weights, depth and noise
//   forklevel     forks with random weights of quiet moves (own and the computer's lines), a liking
//                 for the centre or the corners, priorities and, some of the time, any opening move
//   searchers     alpha-beta of depth 1 to 4 with random evaluation weights for each side,
//                 tie-breaks and noise
//   tables        a pattern table played from the user's side: the baseline, earlier shipped tables,
//                 or a random valid table
//   mcts          Monte Carlo tree search over playouts, 100 to 600 a move
// "NAME#N" is member N of a family, drawn once and kept for every game.
// nullptr for any other name.
std::unique_ptr<Opponent> makeOpponent(const std::string &name);

// The names above that are families.
bool isFamily(const std::string &name);

// N of "NAME#N": one to six digits, else -1.
int memberNumber(const std::string &digits);

// The opponents one item of a list names: "searchers#5001-5008" members 5001 to 5008, each an
// opponent of its own; any other item itself. Throws std::invalid_argument for a range backwards or
// with a bad number, and for a name makeOpponent does not take.
std::vector<std::string> opponentNames(const std::string &item);

// Shared by the players: a random one of `cells`, the empty cells, the best-scoring cells.
int pick(const std::vector<int> &cells, std::mt19937 &rng);
std::vector<int> emptyCells(const Position &p);
double uniform(std::mt19937 &rng, double lo, double hi);
int below(std::mt19937 &rng, int n); // 0 to n - 1

// The cells with the highest score, and one of them at random.
template <typename Score> std::vector<int> bestCells(const std::vector<int> &cells, Score score) {
    std::vector<int> top;
    long high = 0;
    for (int k : cells) {
        const long s = score(k);
        if (top.empty() || s > high) {
            high = s;
            top.clear();
        }
        if (s == high)
            top.push_back(k);
    }
    return top;
}
template <typename Score> int best(const std::vector<int> &cells, std::mt19937 &rng, Score score) {
    return pick(bestCells(cells, score), rng);
}

} // namespace ttt::bench
