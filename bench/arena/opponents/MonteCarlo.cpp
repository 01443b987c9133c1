// Monte Carlo tree search: UCT over moves, each simulation ending in a random playout to the end
// of the game. The family draws the number of simulations a move (100 to 600), the exploration
// constant, and whether its playouts take a win and block a three (heavy playouts) or move at
// random. It takes a win and blocks a three itself before it searches.
#include "bench/arena/opponents/Players.h"

#include <algorithm>
#include <cmath>

namespace ttt::bench {

namespace {

class MonteCarlo : public Opponent {
  public:
    void newGame(std::mt19937 &rng) override {
        simulations_ = 100 + below(rng, 501);
        exploration_ = uniform(rng, 0.5, 1.5);
        heavy_ = uniform(rng, 0, 1) < 0.7;
    }

    int choose(const Board &board, std::mt19937 &rng) override {
        Position p(board);
        if (auto win = winningCells(p, kUser); !win.empty())
            return pick(win, rng);
        if (auto block = winningCells(p, kComputer); !block.empty())
            return pick(block, rng);
        nodes_.assign(1, Node{});
        nodes_[0].untried = emptyCells(p);
        for (int s = 0; s < simulations_; ++s) {
            Position q = p;
            simulate(q, rng);
        }
        int bestMove = 0, most = -1;
        for (int c : nodes_[0].children)
            if (nodes_[static_cast<std::size_t>(c)].visits > most) {
                most = nodes_[static_cast<std::size_t>(c)].visits;
                bestMove = nodes_[static_cast<std::size_t>(c)].move;
            }
        return bestMove;
    }

  private:
    struct Node {
        int move = 0;
        int16 mover = kComputer; // who made `move`
        int visits = 0;
        double score = 0; // for `mover`: 1 a win, 0.5 a tie
        bool over = false;
        std::vector<int> children, untried;
    };

    // One simulation from the root: down the tree by UCT, one new node, a random playout, and the
    // result back up the path.
    void simulate(Position &p, std::mt19937 &rng) {
        std::vector<std::size_t> path = {0};
        int16 toMove = kUser;
        int16 winner = kEmpty;
        for (;;) {
            Node &n = nodes_[path.back()];
            if (n.over) {
                winner = n.mover; // the move into this node ended the game
                break;
            }
            if (!n.untried.empty()) {
                const auto i = static_cast<std::size_t>(below(rng, static_cast<int>(n.untried.size())));
                Node child;
                child.move = n.untried[i];
                child.mover = toMove;
                n.untried.erase(n.untried.begin() + static_cast<long>(i));
                p.play(child.move, toMove);
                child.over = p.completed(child.move);
                child.untried = child.over ? std::vector<int>{} : emptyCells(p);
                nodes_[path.back()].children.push_back(static_cast<int>(nodes_.size()));
                path.push_back(nodes_.size());
                nodes_.push_back(std::move(child));
                winner = nodes_.back().over ? toMove : playout(p, other(toMove), rng);
                break;
            }
            if (n.children.empty())
                break; // a full board: a tie
            const double logN = std::log(static_cast<double>(n.visits + 1));
            std::size_t chosen = 0;
            double high = -1;
            for (int c : n.children) {
                const Node &ch = nodes_[static_cast<std::size_t>(c)];
                const double u = ch.score / ch.visits + exploration_ * std::sqrt(logN / ch.visits);
                if (u > high) {
                    high = u;
                    chosen = static_cast<std::size_t>(c);
                }
            }
            p.play(nodes_[chosen].move, toMove);
            path.push_back(chosen);
            toMove = other(toMove);
        }
        for (std::size_t i : path) {
            Node &n = nodes_[i];
            ++n.visits;
            n.score += winner == kEmpty ? 0.5 : winner == n.mover ? 1.0 : 0.0;
        }
    }

    // Moves to the end, at random or, in heavy playouts, a win or a block first; the winner, or
    // kEmpty for a full board.
    int16 playout(Position &p, int16 toMove, std::mt19937 &rng) const {
        std::vector<int> free = emptyCells(p);
        while (!free.empty()) {
            auto i = static_cast<std::size_t>(below(rng, static_cast<int>(free.size())));
            if (heavy_) {
                int urgent = 0;
                for (int line = 0; line < kLines && urgent >= 0; ++line)
                    if (int gap = p.gap(line))
                        urgent = p.count(line, toMove) == 3 ? -gap : urgent ? urgent : gap;
                if (urgent)
                    i = static_cast<std::size_t>(std::find(free.begin(), free.end(), std::abs(urgent)) - free.begin());
            }
            const int m = free[i];
            free[i] = free.back();
            free.pop_back();
            p.play(m, toMove);
            if (p.completed(m))
                return toMove;
            toMove = other(toMove);
        }
        return kEmpty;
    }

    int simulations_ = 300;
    double exploration_ = 1.0;
    bool heavy_ = true;
    std::vector<Node> nodes_;
};

} // namespace

std::unique_ptr<Opponent> makeMonteCarloFamily() { return std::make_unique<MonteCarlo>(); }

} // namespace ttt::bench
