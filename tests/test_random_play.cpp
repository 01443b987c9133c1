#include "FormHarness.h"

#include <random>

namespace ttt {
namespace {

// What the user sees and the game holds.
struct Snapshot {
    std::string marks, caption, buttons;
    Table<int16, kCells> board;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snap(const test::FormHarness &h) {
    Snapshot s{"", h.caption(), h.buttons(), h.form->state().board};
    for (int k = 1; k <= kCells; ++k)
        s.marks += h.mark(k).empty() ? '.' : h.mark(k)[0];
    return s;
}

// Every rule that must hold after an event; what is broken, or "".
std::string broken(const test::FormHarness &h, const Snapshot &before, bool wasOver) {
    const Snapshot after = snap(h);
    const GameState &st = h.form->state();
    if (std::string("--SP OTSP OT-P ---P").find(after.buttons) == std::string::npos || (st.gameover && after.buttons != "---P"))
        return "buttons shown: " + after.buttons;
    if (wasOver && !(after == before))
        return "something changed after the game ended";
    for (int k = 1; k <= kCells; ++k) {
        const char shown = after.marks[static_cast<std::size_t>(k - 1)];
        const char held = after.board(k) == kUser ? 'X' : after.board(k) == kComputer ? 'O' : '.';
        if (before.board(k) != kEmpty && after.board(k) != before.board(k))
            return "cell " + std::to_string(k) + " was overwritten in the board";
        // The pending X is not in the board; the computer's winning line shows an O in its empty cell.
        if (shown != held && !(after.buttons[0] == 'O' && k == st.pendingcell) && !(after.caption.starts_with("I win") && shown == 'O'))
            return "cell " + std::to_string(k) + " shows '" + shown + "' but holds " + held;
    }
    if (st.boardFull() && !st.gameover)
        return "the board is full and the game goes on";
    return after.caption == "tie game" && st.lineStillOpen() ? "tie declared while a line can still be completed" : "";
}

// Random event sequences on the real window with the shipped tables: clicks on any cell, taken or
// not, and whichever of OK, TAKE BACK and SKIP MOVE are shown, in any order.
TEST(RandomPlay, NoEventSequenceBreaksTheGame) {
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        test::FormHarness h;
        std::string log;
        for (int step = 0, afterEnd = 0; step < 400 && afterEnd < 5; ++step, afterEnd += h.form->state().gameover) {
            std::vector<std::string> events = {"click", "click", "click"}; // the commonest event
            for (int n = 1; n <= 3; ++n)
                if (!h.button(n)->isHidden())
                    events.push_back(std::vector<std::string>{"ok", "back", "skip"}[static_cast<std::size_t>(n - 1)]);
            std::string event = events[rng() % events.size()];
            if (event == "click")
                event += " " + std::to_string(rng() % kCells + 1);
            log += ", " + event;
            const Snapshot before = snap(h);
            const bool wasOver = h.form->state().gameover;
            h.act(event);
            ASSERT_EQ(broken(h, before, wasOver), "") << "seed " << seed << ": " << log;
        }
        ASSERT_EQ(h.form->state().gameover, 1) << "seed " << seed << " never ended: " << log;
    }
}

} // namespace
} // namespace ttt
