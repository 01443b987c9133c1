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

// When the computer opens: the loss after each of the user's 63 answers to its first move, the
// table playing on from there. Answers that a map of the cube fixing that first move turns into one
// another are alike to the opponents, so their spread is what the scan's order costs.
struct ReplyStudy {
    int opening = 0;
    std::vector<std::string> opponents;
    std::vector<std::vector<double>> loss; // [answer cell][opponent], % (the opening's row unused)
};

ReplyStudy studyReplies(const GameData &data, const std::vector<std::string> &opponents, int games,
                        std::uint64_t seed, int threads);

// The answers in classes of alike ones, each with its losses, and the mean loss over the answers
// on seven lines as played and with every class played as its best member.
std::string formatReplies(const ReplyStudy &study);

} // namespace ttt::bench
