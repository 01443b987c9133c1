#pragma once

#include "bench/arena/Match.h"

#include <string>
#include <vector>

namespace ttt::bench {

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
