#include "bench/search/Replay.h"

#include "player/ComputerPlayer.h"

#include <stdexcept>

namespace ttt::bench {

namespace {

std::mt19937 moveRng(const ReplayGame &g, int move) {
    std::seed_seq seq{static_cast<std::uint32_t>(g.seed), static_cast<std::uint32_t>(g.seed >> 32),
                      static_cast<std::uint32_t>(g.game), static_cast<std::uint32_t>(g.userOpens),
                      static_cast<std::uint32_t>(move) + 1000u};
    return std::mt19937(seq);
}

} // namespace

GameLog replay(const GameData &data, const ReplayGame &g, const GameLog *before, bool *diverged) {
    GameState state;
    CaptionView view;
    ComputerPlayer computer(data, state, view);
    std::unique_ptr<Opponent> user; // made only once the game leaves the log
    GameLog log;
    bool following = before != nullptr;
    const auto computerTurn = [&] {
        computer.mymove();
        const int kind = state.gameover == 0                     ? 0
                         : view.caption.rfind("you win", 0) == 0 ? 1
                         : view.caption.rfind("I win", 0) == 0   ? 2
                                                                 : 3;
        log.moves.push_back(kind * 100 + (kind == 0 ? state.lastmymove : 0));
        const std::size_t i = log.moves.size() - 1;
        following = following && i < before->moves.size() && before->moves[i] == log.moves[i];
        log.outcome = kind == 1 ? Outcome::UserWins : kind == 2 ? Outcome::ComputerWins : Outcome::Tie;
    };
    if (!g.userOpens)
        computerTurn();
    while (state.gameover == 0) {
        if (state.boardFull())
            throw std::logic_error("the game goes on with a full board");
        const std::size_t i = log.moves.size();
        int m;
        if (following) {
            m = before->moves[i];
        } else {
            if (!user) {
                user = makeOpponent(g.opponent);
                std::mt19937 rng = gameRng(g.seed, g.game, g.userOpens);
                user->newGame(rng);
            }
            std::mt19937 rng = moveRng(g, static_cast<int>(i));
            m = user->choose(state.board, rng);
        }
        if (m < 1 || m > kCells || state.board(m) != kEmpty)
            throw std::logic_error("an opponent chose an occupied cell");
        state.board(m) = kUser;
        log.moves.push_back(m);
        computerTurn();
    }
    if (diverged)
        *diverged = before == nullptr || !following;
    return log;
}

} // namespace ttt::bench
