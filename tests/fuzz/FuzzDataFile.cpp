#include "FuzzDataFile.h"

#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace ttt::fuzz {

namespace {

class NullView : public TurnView {
  public:
    void graph(const GameState &s) override {
        if (s.drawcell < 1 || s.drawcell > kCells)
            fail("graph asked to draw outside the board");
    }
    void setStatusCaption(const std::string &) override {}
    void setStatusColor(std::int32_t) override {}

    [[noreturn]] static void fail(const char *what) {
        std::fprintf(stderr, "broken rule: %s\n", what);
        std::abort();
    }
};

void playOn(const GameData &tables, GameState state) {
    NullView view;
    ComputerPlayer player(tables, state, view);
    const GameState before = state;
    player.mymove();
    for (int k = 1; k <= kCells; ++k)
        if (before.board(k) != kEmpty && state.board(k) != before.board(k))
            NullView::fail("the computer wrote into a taken cell");
    if (player.patnum < 1 || player.patnum > kPatternRows)
        NullView::fail("patnum out of range");
    if (state.gameover == 0 && (state.lastmymove < 1 || state.board(state.lastmymove) != kComputer))
        NullView::fail("an ordinary move left no mark");
}

} // namespace

void dataFileInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::istringstream in(text);
    const LoadResult loaded = readData(in, "kubix.dat");
    if (!loaded.data) {
        if (loaded.error.empty())
            NullView::fail("a refused file without a message");
        return;
    }
    if (!checkData(*loaded.data, "fuzz").empty())
        NullView::fail("the loader accepted tables its own check refuses");
    // The empty board, then boards drawn from the input's bytes: each byte fills one cell.
    playOn(*loaded.data, GameState{});
    for (std::size_t start = 0; start < size && start < 3 * kCells; start += kCells) {
        GameState state;
        for (int k = 1; k <= kCells && start + static_cast<std::size_t>(k) <= size; ++k) {
            const int v = data[start + static_cast<std::size_t>(k) - 1] % 3;
            state.board(k) = v == 0 ? kEmpty : v == 1 ? kUser : kComputer;
        }
        state.board(static_cast<int>(start / kCells) * 7 % kCells + 1) = kEmpty; // at least one free cell
        playOn(*loaded.data, state);
    }
}

} // namespace ttt::fuzz
