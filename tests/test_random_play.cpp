#include "FormHarness.h"

#include <random>

namespace ttt {
namespace {

// What the user sees and the game holds.
struct Snapshot {
    std::string marks, caption, buttons;
    Table<int16, kCells> board;
    int gameover;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snap(const test::FormHarness &h) {
    Snapshot s{"", h.caption(), h.buttons(), h.form->state().board, h.form->state().gameover};
    for (int k = 1; k <= kCells; ++k)
        s.marks += h.mark(k).empty() ? '.' : h.mark(k)[0];
    return s;
}

// Every rule that must hold after an event; returns what is broken, or "".
std::string broken(const test::FormHarness &h, const Snapshot &before, const Snapshot &after) {
    const bool pending = after.buttons[0] == 'O';
    if (after.buttons != "--SP" && after.buttons != "OTSP" && after.buttons != "OT-P" && after.buttons != "---P")
        return "buttons shown: " + after.buttons;
    if (before.gameover && !(after == before))
        return "something changed after the game ended";
    if (after.gameover && after.buttons != "---P")
        return "buttons other than STOP after the end";
    const bool computerWon = after.caption.rfind("I win on ", 0) == 0;
    for (int k = 1; k <= kCells; ++k) {
        if (before.board(k) != kEmpty && after.board(k) != before.board(k))
            return "cell " + std::to_string(k) + " was overwritten in the board";
        const char expected = after.board(k) == kUser ? 'X' : after.board(k) == kComputer ? 'O' : '.';
        const char shown = after.marks[static_cast<std::size_t>(k - 1)];
        // The pending X is not in the board; the computer's winning line shows a green O in its
        // empty cell.
        if (shown != expected && !(pending && k == h.form->state().pendingcell) && !(computerWon && shown == 'O'))
            return "cell " + std::to_string(k) + " shows '" + shown + "' but holds " + std::to_string(after.board(k));
    }
    if (h.form->state().boardFull() && !after.gameover)
        return "the board is full and the game goes on";
    if (after.caption == "tie game" && h.form->state().lineStillOpen())
        return "tie declared while a line can still be completed";
    return "";
}

// Random event sequences on the real window: clicks on any cell, taken or not, and whichever of
// OK, TAKE BACK and SKIP MOVE are shown, in any order, with the shipped tables.
TEST(RandomPlay, NoEventSequenceBreaksTheGame) {
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        test::FormHarness h;
        std::string log;
        for (int step = 0, afterEnd = 0; step < 400 && afterEnd < 5; ++step, afterEnd += h.form->state().gameover) {
            const Snapshot before = snap(h);
            std::vector<std::string> events = {"click", "click", "click"}; // the commonest event
            for (int n = 1; n <= 3; ++n)
                if (!h.button(n)->isHidden())
                    events.push_back(n == 1 ? "ok" : n == 2 ? "back" : "skip");
            std::string event = events[rng() % events.size()];
            if (event == "click")
                event += " " + std::to_string(rng() % kCells + 1);
            log += ", " + event;
            h.act(event);
            ASSERT_EQ(broken(h, before, snap(h)), "") << "seed " << seed << ": " << log;
        }
        ASSERT_EQ(h.form->state().gameover, 1) << "seed " << seed << " never ended: " << log;
    }
}

} // namespace
} // namespace ttt
