#include "FormHarness.h"

namespace ttt {
namespace {


struct Game {
    const char *name;
    std::vector<int> fallback; // the computer's cells, in order
    const char *transcript;    // action | caption | buttons | marks that change
};

const Game kGames[] = {
    {"clicks, take back, OK, illegal moves", {22, 43}, R"(
        click 31 | your move 243        | OTSP | 31Xr
        click 1  | your move 243        | OTSP | -
        press 2  | your move 243        | OTSP | -
        back     | your move 243        | --SP | 31.
        right 1  | your move 243        | --SP | -
        out 1    | your move 243        | --SP | -
        type 5   | your move 243        | --SP | -
        press 1  | your move 111        | OTSP | 1Xr
        ok       | my move is  222      | ---P | 1Xk 22Or
        click 1  | THAT MOVE IS ILLEGAL | ---P | -
        dclick 1 | THAT MOVE IS ILLEGAL | ---P | -
        drag 22  | THAT MOVE IS ILLEGAL | ---P | -
        type 22  | THAT MOVE IS ILLEGAL | ---P | -
        press 22 | THAT MOVE IS ILLEGAL | ---P | -
        click 2  | your move 112        | OT-P | 2Xr
        ok       | my move is  333      | ---P | 2Xk 22Ok 43Or)"},
    {"SKIP MOVE while a move is pending", {64, 63}, R"(
        click 1  | your move 111        | OTSP | 1Xr
        skip     | my move is  444      | OT-P | 64Or
        ok       | my move is  443      | ---P | 1Xk 64Ok 63Or)"},
    {"SKIP MOVE onto the pending cell voids that move", {1, 2}, R"(
        click 1  | your move 111        | OTSP | 1Xr
        skip     | my move is  111      | ---P | 1Or
        click 1  | THAT MOVE IS ILLEGAL | ---P | -
        play 5   | my move is  112      | ---P | 5Xk 1Ok 2Or
        play 6   | tie game             | ---P | 6Xk 2Ok)"},
    {"the user wins", {64, 63, 62, 60}, R"(
        play 1   | my move is  444      | ---P | 1Xk 64Or
        play 2   | my move is  443      | ---P | 2Xk 64Ok 63Or
        play 3   | my move is  442      | ---P | 3Xk 63Ok 62Or
        play 4   | you win on  111 112 113 114 | ---P | 4Xk 62Ok
        all      | you win on  111 112 113 114 | ---P | -)"},
    {"the computer wins", {17, 18, 19, 20}, R"(
        skip     | my move is  211      | ---P | 17Or
        play 1   | my move is  212      | ---P | 1Xk 17Ok 18Or
        play 5   | my move is  213      | ---P | 5Xk 18Ok 19Or
        play 9   | I win on  211 212 213 214 | ---P | 9Xk 17Og 18Og 19Og 20Og
        all      | I win on  211 212 213 214 | ---P | -)"},
    {"a tie", {64}, R"(
        play 64  | tie game             | ---P | 64Xk
        all      | tie game             | ---P | -)"},
};

TEST(Game, Transcripts) {
    for (const Game &g : kGames) {
        SCOPED_TRACE(g.name);
        test::TempDataFile file(test::fallbackOnly(g.fallback));
        test::FormHarness h(file.path());
        test::playTranscript(h, g.transcript);
    }
}

} // namespace
} // namespace ttt
