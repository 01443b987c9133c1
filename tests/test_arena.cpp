#include "TestBoards.h"
#include "bench/Match.h"
#include "bench/Mutation.h"
#include "bench/Opponents.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <set>

namespace ttt::bench {
namespace {

Board boardOf(const char *text) {
    GameState s;
    test::setBoard(s, text);
    return s.board;
}

struct Choice {
    const char *opponent;
    const char *why;
    const char *board;
    std::set<int> expected; // any of these
};

const Choice kChoices[] = {
    {"greedy", "completes its line", "XXX.|....|....|....  OO..|....|....|....  ....|....|....|....  ....|....|....|....", {4}},
    {"greedy", "blocks three O", "X...|X...|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....", {20}},
    {"forks", "completes before blocking",
     "XXX.|....|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....", {4}},
    // Boards found by brute force: no three for either side, and one double-threat cell.
    {"forks", "makes a double threat",
     "....|....|O..X|....  ....|....|O.X.|....  ....|....|....|..O.  ....|....|.X.X|....", {57}},
    {"forks", "blocks the computer's double-threat cell",
     "....|OO..|....|...X  ....|X.O.|..X.|....  ....|.O..|....|....  ..X.|....|....|....", {8}},
    {"alphabeta:2", "takes a win", "XXX.|....|....|....  OO..|....|....|....  ....|....|....|....  ....|....|....|....", {4}},
    {"alphabeta:2", "blocks three O", "X...|X...|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....", {20}},
};

TEST(Opponents, ChooseLikeTheirDescriptions) {
    for (const Choice &c : kChoices) {
        auto player = makeOpponent(c.opponent);
        ASSERT_TRUE(player) << c.opponent;
        for (std::uint32_t seed = 0; seed < 5; ++seed) {
            std::mt19937 rng(seed);
            const int move = player->choose(boardOf(c.board), rng);
            EXPECT_TRUE(c.expected.count(move)) << c.opponent << " " << c.why << ": chose " << move;
        }
    }
    EXPECT_FALSE(makeOpponent("alphabeta:x"));
    EXPECT_FALSE(makeOpponent("nobody"));
}

// A board with no three and no double threat for either side, where X wins by force: one three
// that O must block, after which X has a double threat (X at 46 first, found by brute force).
TEST(Opponents, ThreatsPlaysAForcingChainToADoubleThreat) {
    const char *board = "....|....|....|.X..  ....|....|....|....  ...X|..OX|OO..|..X.  ....|O...|....|.X..";
    auto threats = makeOpponent("threats");
    std::mt19937 rng(1);
    Position p(boardOf(board));
    ASSERT_TRUE(forkCells(p, kUser).empty());
    bool doubleThreat = false;
    for (int step = 0; step < 8 && !doubleThreat; ++step) {
        Board now;
        for (int k = 1; k <= kCells; ++k)
            now(k) = p.cells[static_cast<std::size_t>(k)];
        const int move = threats->choose(now, rng);
        ASSERT_TRUE(p.empty(move));
        p.play(move, kUser);
        const std::vector<int> gaps = winningCells(p, kUser);
        const std::set<int> distinct(gaps.begin(), gaps.end());
        ASSERT_FALSE(distinct.empty()) << "step " << step << ": move " << move << " forces nothing";
        doubleThreat = distinct.size() >= 2;
        if (!doubleThreat) {
            p.play(*distinct.begin(), kComputer); // the only reply
            ASSERT_TRUE(winningCells(p, kComputer).empty()) << "the forced reply must not threaten";
        }
    }
    EXPECT_TRUE(doubleThreat);
    // forks, which sees no double threat yet, does not start this chain.
    std::mt19937 rng2(1);
    const int forksMove = makeOpponent("forks")->choose(boardOf(board), rng2);
    EXPECT_NE(forksMove, 46);
}

TEST(Match, GamesFollowTheRulesAndAreRepeatable) {
    const LoadResult shipped = readDataFile(TTT_SHIPPED_DATA);
    ASSERT_TRUE(shipped.data) << shipped.error;
    for (const char *name : {"random", "forks", "alphabeta:2"}) {
        const Tally a = playMatch(*shipped.data, name, true, 20, 42);
        const Tally b = playMatch(*shipped.data, name, true, 20, 42);
        EXPECT_EQ(a.wins, b.wins) << name;
        EXPECT_EQ(a.moves, b.moves) << name;
        EXPECT_EQ(a.wins + a.losses + a.ties, 20) << name;
        EXPECT_EQ(a.openTies, 0) << name;
    }
}

// A game replayed alone, as `arena trace` does, is the game the match played: same moves, same
// outcome, and the observer hears every move of both sides.
TEST(Match, OneGameReplaysAsTheMatchPlayedIt) {
    const LoadResult shipped = readDataFile(TTT_SHIPPED_DATA);
    ASSERT_TRUE(shipped.data) << shipped.error;
    struct Count : MoveObserver {
        void userMoved(int) override { ++user; }
        void computerTurn(int, const std::string &) override { ++computer; }
        int user = 0, computer = 0;
    };
    for (bool userOpens : {true, false}) {
        for (int game : {0, 7}) {
            const Tally all = playMatch(*shipped.data, "forks", userOpens, game + 1, 99);
            const Tally before = playMatch(*shipped.data, "forks", userOpens, game, 99);
            auto user = makeOpponent("forks");
            std::mt19937 rng = gameRng(99, game, userOpens);
            Count count;
            const GameRecord r = playGame(*shipped.data, *user, userOpens, rng, false, &count);
            EXPECT_EQ(r.moves, all.moves - before.moves) << game;
            EXPECT_EQ(r.outcome == Outcome::UserWins, all.losses > before.losses) << game;
            EXPECT_EQ(count.computer, r.turns) << game;
            EXPECT_EQ(count.user, r.turns - (userOpens ? 0 : 1)) << game;
        }
    }
}

// The short arena run: the shipped table never loses to the weak opponents, beats random at
// least 99.5% of the time, and greedy at least 99% (greedy draws about 1 game in 100 when it
// opens, docs/strength.md).
TEST(Match, ShippedTableBeatsRandomAndGreedy) {
    const LoadResult shipped = readDataFile(TTT_SHIPPED_DATA);
    ASSERT_TRUE(shipped.data) << shipped.error;
    for (auto [name, minWins] : {std::pair{"random", 199}, std::pair{"greedy", 198}}) {
        for (bool userOpens : {true, false}) {
            const Tally t = playMatch(*shipped.data, name, userOpens, 200, 2026);
            EXPECT_EQ(t.losses, 0) << name << (userOpens ? ", user opens" : ", computer opens");
            EXPECT_GE(t.wins, minWins) << name << (userOpens ? ", user opens" : ", computer opens");
        }
    }
}

TEST(Mutation, KeepsTablesLoadableAndTieSafe) {
    const LoadResult shipped = readDataFile(TTT_SHIPPED_DATA);
    ASSERT_TRUE(shipped.data) << shipped.error;
    ASSERT_TRUE(tieSafe(*shipped.data));
    GameData d = *shipped.data;
    std::mt19937 rng(3);
    int unsafe = 0;
    for (int i = 0; i < 2000; ++i) {
        GameData next = d;
        mutate(next, rng);
        ASSERT_EQ(checkData(next, "mutated"), "") << "step " << i;
        if (tieSafe(next))
            d = next;
        else
            ++unsafe;
    }
    EXPECT_GT(unsafe, 0) << "some changes must be caught as unsafe";

    GameData noZeroRow = test::makeData({{4, -1, -1}, {15, -1, -1}, {3, -1, -1}, {10, -1, -1}, {5, -1, -1}, {2, -1, -1},
                                         {1, -1, -1}, {0, 0, -1}});
    EXPECT_FALSE(tieSafe(noZeroRow));
    noZeroRow.patterns(2, 8) = -1;
    EXPECT_TRUE(tieSafe(noZeroRow));
}

} // namespace
} // namespace ttt::bench
