#pragma once

#include "bench/Match.h"

#include <string>
#include <vector>

namespace ttt::bench {

// What the computer's first answer is worth: for every opening on one of the 16 cells that lie on
// seven lines, the loss after each answer on a line through it (the only answers the table's scan
// can give to a lone mark), then the table's own play from there on. When the computer opens, one
// row: its first move on each of the 64 cells.
struct OpeningStudy {
    struct Answer {
        int reply = 0;
        std::vector<double> loss; // % per opponent
    };
    struct Row {
        int user = 0; // 0 when the computer opens
        int tableReply = 0;
        std::vector<Answer> answers;
        const Answer &answer(int reply) const;
    };
    std::vector<std::string> opponents;
    std::vector<Row> rows;
};

OpeningStudy studyOpenings(const GameData &data, const std::vector<std::string> &opponents, int games,
                           std::uint64_t seed, int threads, bool computerOpens = false);

// Mean losses with the table's answers and with each opening's best answer per opponent; with two
// opponents, also the best mixes of answers between them (the trade-off, as weights shift).
std::string formatStudy(const OpeningStudy &study);

// Every answer's loss to every opponent, a line each, for working the study further.
std::string formatAnswers(const OpeningStudy &study);

} // namespace ttt::bench
