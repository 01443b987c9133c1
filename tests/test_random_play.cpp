#include "FormHarness.h"

#include <random>
#include <sstream>

namespace ttt {
namespace {

using test::FormHarness;

// What the user sees and the game holds, to compare before and after each event.
struct Snapshot {
    std::array<std::string, kCells + 1> marks;
    Table<int16, kCells> board;
    std::string caption;
    std::string buttons;
    int gameover;
};

Snapshot snap(const FormHarness &h) {
    Snapshot s;
    for (int k = 1; k <= kCells; ++k)
        s.marks[static_cast<std::size_t>(k)] = h.mark(k);
    s.board = h.form->state().board;
    s.caption = h.caption();
    s.buttons = h.buttons();
    s.gameover = h.form->state().gameover;
    return s;
}

// Checks every rule that must hold after an event; returns what is broken, or "".
std::string broken(const FormHarness &h, const Snapshot &before, const Snapshot &after) {
    const GameState &st = h.form->state();
    const bool pending = after.buttons[0] == 'O';
    const bool computerWon = after.caption.rfind("I win on ", 0) == 0;
    if (after.buttons != "--SP" && after.buttons != "OTSP" && after.buttons != "OT-P" && after.buttons != "---P")
        return "buttons shown: " + after.buttons;
    if (after.gameover && after.buttons != "---P")
        return "buttons other than STOP after the end: " + after.buttons;
    if (before.gameover && !after.gameover)
        return "gameover went back to 0";
    for (int k = 1; k <= kCells; ++k) {
        const std::string &m = after.marks[static_cast<std::size_t>(k)];
        if (m != "" && m != "X" && m != "O")
            return "cell " + std::to_string(k) + " shows '" + m + "'";
        if (before.board(k) != kEmpty && after.board(k) != before.board(k))
            return "cell " + std::to_string(k) + " was overwritten in the board";
        if (pending && k == st.pendingcell)
            continue;
        const std::string expected = after.board(k) == kUser ? "X" : after.board(k) == kComputer ? "O" : "";
        // The computer's winning line shows a green O in its one empty cell too.
        if (m != expected && !(computerWon && m == "O" && after.board(k) == kEmpty))
            return "cell " + std::to_string(k) + " shows '" + m + "' but holds " + std::to_string(after.board(k));
    }
    if (before.gameover && (after.marks != before.marks || !(after.board == before.board) ||
                            after.caption != before.caption))
        return "something changed after the game ended";
    if (st.boardFull() && !after.gameover)
        return "the board is full and the game goes on";
    if (after.caption == "tie game" && st.lineStillOpen())
        return "tie declared while a line can still be completed";
    return "";
}

// Thousands of random event sequences on the real window: clicks on any cell, taken or not, and
// whichever of OK, TAKE BACK and SKIP MOVE are shown, in any order.
TEST(RandomPlay, NoEventSequenceBreaksTheGame) {
    constexpr int kSequences = 1000;
    long events = 0;
    for (int seed = 1; seed <= kSequences; ++seed) {
        std::mt19937 rng(static_cast<std::uint32_t>(seed));
        FormHarness h;
        std::ostringstream log;
        int afterEnd = 0;
        for (int step = 0; step < 400 && afterEnd < 5; ++step) {
            const Snapshot before = snap(h);
            std::vector<int> choices = {0, 0, 0}; // cell clicks are the commonest event
            for (int n = 1; n <= 3; ++n)
                if (!h.button(n)->isHidden())
                    choices.push_back(n);
            const int event = choices[rng() % choices.size()];
            if (event == 0) {
                const int cell = static_cast<int>(rng() % kCells) + 1;
                log << " cell" << cell;
                h.clickCell(cell);
            } else {
                log << " " << (event == 1 ? "OK" : event == 2 ? "TAKEBACK" : "SKIP");
                h.clickButton(event);
            }
            ++events;
            const std::string fault = broken(h, before, snap(h));
            ASSERT_EQ(fault, "") << "seed " << seed << ", events:" << log.str();
            afterEnd += h.form->state().gameover;
        }
        ASSERT_EQ(h.form->state().gameover, 1) << "seed " << seed << " never ended:" << log.str();
    }
    std::cout << "[ random play ] " << kSequences << " sequences, " << events << " events checked\n";
}

} // namespace
} // namespace ttt
