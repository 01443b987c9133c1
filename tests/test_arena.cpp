#include "TestBoards.h"
#include "bench/arena/Match.h"
#include "bench/arena/Report.h"
#include "bench/arena/Rule.h"
#include "bench/arena/opponents/Players.h"
#include "bench/search/Mutation.h"
#include "bench/search/Panel.h"
#include "bench/search/Replay.h"
#include "bench/study/Replies.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <numeric>
#include <set>
#include <tuple>
#include <unistd.h>

namespace ttt::bench {
namespace {

GameData shipped() { return *readDataFile(TTT_SHIPPED_DATA).data; }

struct Must {
    const char *why, *board;
    int cell;
    std::vector<std::string> who;
};

const std::vector<std::string> kAll = {"greedy", "forks", "threats", "alphabeta:1", "alphabeta:3", "heuristics",
                                       "forklevel", "forklevel#7", "searchers", "searchers#2", "shallow", "deep", "mcts"};

// Boards found by brute force: a cell each player must take, whatever member a family draws.
const Must kMust[] = {
    {"completes its own line first", "XXX.|....|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....", 4,
     {"greedy", "forks", "threats", "alphabeta:1", "alphabeta:3", "heuristics", "forklevel", "searchers", "deep", "mcts",
      "tables"}},
    {"blocks three O", "X...|X...|....|....  OOO.|....|....|....  ....|....|....|....  ....|....|....|....", 20, kAll},
    {"makes a double threat", "....|....|O..X|....  ....|....|O.X.|....  ....|....|....|..O.  ....|....|.X.X|....", 57,
     {"forks", "threats", "alphabeta:3", "forklevel", "forklevel#3", "deep"}},
    {"starts a forcing chain", "O..X|....|X.O.|....  ...X|.X..|X...|....  ....|..O.|.O.X|....  ....|...X|OO..|.O..", 64,
     {"threats"}},
    {"blocks the computer's double-threat cell", "....|OO..|....|...X  ....|X.O.|..X.|....  ....|.O..|....|....  ..X.|....|....|....",
     8, {"forks"}},
};

TEST(Opponents, EveryMemberWinsAndBlocksAndTheForkersFork) {
    for (const Must &m : kMust)
        for (const std::string &name : m.who)
            for (std::uint32_t seed = 0; seed < 8; ++seed) {
                auto player = makeOpponent(name);
                std::mt19937 rng(seed);
                player->newGame(rng);
                GameState s;
                test::setBoard(s, m.board);
                EXPECT_EQ(player->choose(s.board, rng), m.cell) << name << " " << m.why << ", seed " << seed;
            }
    EXPECT_FALSE(makeOpponent("nobody") || makeOpponent("forks#1") || makeOpponent("forklevel#") || makeOpponent("forklevel#x"));
}

// A family opens on most of the 64 cells over many games, so no table meets only the openings it
// was tuned on; a fixed searcher opens only on the cells its search likes best, as a deep member does.
TEST(Opponents, FamiliesOpenAnywhereFixedPlayersDoNot) {
    for (const char *name : {"forklevel", "searchers", "shallow", "deep", "alphabeta:3", "forks"}) {
        auto player = makeOpponent(name);
        std::set<int> firsts;
        for (std::uint32_t seed = 0; seed < 300; ++seed) {
            std::mt19937 rng(seed);
            player->newGame(rng);
            firsts.insert(player->choose(Board{}, rng));
        }
        const bool family = std::string(name) != "deep" && isFamily(name);
        EXPECT_EQ(family, firsts.size() > 32) << name << " opened on " << firsts.size() << " cells";
    }
}

// The tables family draws by index, so its list must not follow the directory's order, which
// differs from one file system to the next (tmpfs lists the newest file first, ext4 by a hash).
TEST(Opponents, StoredTablesAreTakenInNameOrder) {
    const auto dir = std::filesystem::temp_directory_path() / ("ttt-tables-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const char *name : {"f.dat", "b.dat", "h.dat", "c.dat", "a.dat", "g.dat", "e.dat", "d.dat"})
        std::ofstream(dir / name) << "x";
    const auto files = tableFiles(dir);
    std::filesystem::remove_all(dir);
    ASSERT_EQ(files.size(), 8U);
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
}

// Games follow the rules and repeat exactly, and a panel's score is the same however its games are
// split between threads.
TEST(Match, RepeatableWithinTheRulesAndAlikeOnAnyThreads) {
    const GameData data = shipped();
    for (const char *name : {"random", "heuristics", "searchers", "tables", "mcts"}) {
        const Tally a = playMatch(data, name, true, 6, 42);
        EXPECT_EQ(a.moves, playMatch(data, name, true, 6, 42).moves) << name;
        // Every user mark is answered by one turn; the last turn ends the game, with the winning
        // cell counted when the computer wins. Each turn is put down to one row, or to none.
        EXPECT_TRUE(a.wins + a.losses + a.ties == 6 && a.openTies == 0 && a.moves == 2 * a.turns - a.games + a.wins &&
                    std::accumulate(a.rows.begin(), a.rows.end(), 0L) == a.turns && a.rows[0] == 0) << name;
    }
    std::vector<Tally> one, two;
    const Panel panel = parsePanel("forks*2,searchers", 3);
    EXPECT_EQ(panelScore(data, panel, 5, 23, 1, &one), panelScore(data, panel, 5, 23, 2, &two));
    EXPECT_EQ(one[0].moves, playMatch(data, "forks", true, 23, 3, false, 5).moves);
    EXPECT_THROW(heldOutPanels("forklevel#2", "forklevel#2", 1), std::invalid_argument); // a family may be on both
    // A member range is one entry per member and opening, each with the range's weights.
    const Panel range = parsePanel("searchers#9-11*0.25/0,forks", 1);
    ASSERT_EQ(range.entries.size(), 5U);
    EXPECT_TRUE(range.entries[0].opponent == "searchers#9" && range.entries[2].opponent == "searchers#11" &&
                range.entries[2].userOpens && range.entries[2].weight == 0.25 && range.entries[3].opponent == "forks");
    for (const char *bad : {"searchers#9-", "searchers#11-9", "searchers#9-x", "forks*", "forks*2x", "forks*-1", "forks*1/"})
        EXPECT_THROW(parsePanel(bad, 1), std::invalid_argument) << bad;
    // Dealt out in parts, a match still adds up to the games of one match.
    const auto all = playAll(data, {{"forks", true}, {"greedy", false}}, 120, 11, 2, false);
    EXPECT_EQ(all[1].moves, playMatch(data, "greedy", false, 120, 11).moves);
    EXPECT_EQ(all[0].losses, playMatch(data, "forks", true, 120, 11).losses);
}

// Hole weights lean on the members that win most, keep every member in play and leave each set's
// total weight as it was.
TEST(Panel, HoleWeights) {
    const auto w = holeWeights({0.1, 0.3, 0.0, 0.5, 0.0, 0.0}, {0, 0, 0, 1, 2, 2}, 1.0);
    // Set 0: 1 + r / mean is 1.75, 3.25 and 1, scaled to average 1; a set of one keeps 1; set 2 never loses.
    const double k = 3 / 6.0;
    EXPECT_NEAR(w[0], 1.75 * k, 1e-12);
    EXPECT_NEAR(w[1], 3.25 * k, 1e-12);
    EXPECT_NEAR(w[2], 1.0 * k, 1e-12);
    EXPECT_NEAR(w[3], 1.0, 1e-12);
    EXPECT_TRUE(w[4] == 1.0 && w[5] == 1.0);
    const auto flat = holeWeights({0.1, 0.3}, {0, 0}, 0.0), steep = holeWeights({0.1, 0.3}, {0, 0}, 2.0);
    EXPECT_TRUE(flat[0] == 1.0 && flat[1] == 1.0);
    EXPECT_NEAR(steep[1] / steep[0], (2.5 * 2.5) / (1.5 * 1.5), 1e-12); // mean 0.2: 1.5 and 2.5
}

// The shipping rule: a candidate passes only when its score is lower by more than the margin, no
// held-out fixed player's row is worse beyond the guard, and the floors against greedy and random hold.
TEST(Rule, PassesOnlyWhenEveryConditionHolds) {
    EXPECT_DOUBLE_EQ(meanOfWorst({5, 40, 10, 30, 20}, 3), 30);
    EXPECT_DOUBLE_EQ(meanOfWorst({5, 40}, 3), 22.5);
    RuleFigures base;
    base.rows = {{"forks", true, 30, true}, {"forklevel", true, 30, false}, {"worst 3", true, 50, false}};
    base.greedyWins[0] = base.greedyWins[1] = 100;
    base.randomAll[0] = base.randomAll[1] = true;
    const RuleTerms terms;
    const auto with = [&](double forks, double family, double worst) {
        RuleFigures c = base;
        c.rows[0].loss = forks, c.rows[1].loss = family, c.rows[2].loss = worst;
        return c;
    };
    EXPECT_TRUE(judgeRule(base, with(29, 29, 48), terms).passes);  // 1.33 lower
    EXPECT_EQ(judgeRule(base, with(31, 31, 51), terms).reasons,
              std::vector<std::string>{"score 37.667 against the shipped 36.667: 1.000 higher, not lower by more than 1.0"});
    EXPECT_FALSE(judgeRule(base, with(29, 29, 49), terms).passes); // exactly the margin
    EXPECT_FALSE(judgeRule(base, base, terms).passes);
    // A family may pay; a held-out fixed player may not, beyond the guard.
    EXPECT_TRUE(judgeRule(base, with(30, 35, 40), terms).passes);
    const RuleVerdict paid = judgeRule(base, with(32.5, 20, 40), terms);
    ASSERT_EQ(paid.reasons.size(), 1u);
    EXPECT_NE(paid.reasons[0].find("forks, user opens"), std::string::npos) << paid.reasons[0];
    EXPECT_TRUE(judgeRule(base, with(32, 20, 40), terms).passes);
    RuleFigures floor = with(20, 20, 20);
    floor.greedyWins[1] = 99.4;
    EXPECT_FALSE(judgeRule(base, floor, terms).passes);
    floor.greedyWins[1] = 99.5, floor.randomAll[0] = false;
    const RuleVerdict lost = judgeRule(base, floor, terms);
    EXPECT_EQ(lost.reasons, std::vector<std::string>{"random, user opens: a game not won"});
    const std::string shown = formatRule(base, with(32.5, 20, 40), paid);
    EXPECT_NE(shown.find("| 30.0 | 32.5 | +2.5 |"), std::string::npos) << shown;
    EXPECT_NE(shown.find("| 36.667 | 30.833 | -5.833 |"), std::string::npos) << shown;
    EXPECT_NE(formatRule(base, floor, lost).find("does not pass"), std::string::npos);
}

// Measured, the rule's rows are the matches and fixed members that the arena's play and holes show.
TEST(Rule, RowsAreTheArenasMatchesAndWorstMembers) {
    const GameData data = shipped();
    RuleTerms terms;
    terms.games = 6, terms.holeGames = 8, terms.members = 4, terms.worst = 2;
    const RuleFigures f = measureRule(data, terms, 2);
    ASSERT_EQ(f.rows.size(), 18u);
    EXPECT_EQ(f.rows[5].name, "alphabeta:2");
    EXPECT_FALSE(f.rows[5].userOpens);
    EXPECT_DOUBLE_EQ(f.rows[5].loss, 100.0 * playMatch(data, "alphabeta:2", false, 6, 9191).losses / 6);
    for (std::size_t i = 0; i < 18; ++i)
        EXPECT_TRUE(f.rows[i].guarded == (i < 10) && f.rows[i].userOpens == (i % 2 == 0)) << f.rows[i].name;
    EXPECT_EQ(f.rows[17].name, "worst 2 of 4 searchers");
    for (bool userOpens : {true, false}) {
        std::vector<double> members;
        for (int m = 1; m <= 4; ++m)
            members.push_back(100.0 * playMatch(data, "searchers#" + std::to_string(m), userOpens, 8, 9292).losses / 8);
        EXPECT_DOUBLE_EQ(f.rows[userOpens ? 16 : 17].loss, meanOfWorst(members, 2)) << userOpens;
    }
    EXPECT_DOUBLE_EQ(f.greedyWins[1], 100.0 * playMatch(data, "greedy", false, 6, 9191).wins / 6);
    EXPECT_TRUE(f.randomAll[0] && f.randomAll[1]);
}

// Every level's table loads, declares a tie only once no line is left, and the levels are ordered
// where a beginner notices: greedy beats easy often, medium seldom, the shipped table about once in
// 250 games; only easy ever loses to random.
TEST(Levels, LoadWithoutPrematureTiesAndInOrder) {
    std::map<std::string, long> greedyWins;
    for (const std::string level : {"easy", "medium", "hard"}) {
        const std::string path = level == "hard" ? TTT_SHIPPED_DATA : TTT_LEVELS "/" + level + "/kubix.dat";
        const LoadResult r = readDataFile(path);
        ASSERT_TRUE(r.data) << r.error;
        EXPECT_TRUE(tieSafe(*r.data)) << level;
        for (const char *name : {"random", "greedy", "forks", "searchers"})
            for (bool userOpens : {true, false}) {
                const Tally t = playMatch(*r.data, name, userOpens, 100, 77);
                EXPECT_EQ(t.openTies, 0) << level << " against " << name;
                if (std::string(name) == "greedy")
                    greedyWins[level] += t.losses;
                if (std::string(name) == "random") {
                    EXPECT_GE(t.wins, level == "easy" ? 95 : 100) << level;
                }
            }
    }
    EXPECT_GT(greedyWins["easy"], 30);
    EXPECT_LT(greedyWins["medium"], 10);
    EXPECT_LE(greedyWins["hard"], 1);
}

// A game replayed from another table's log is the game that table plays from scratch: the record is
// followed only while the answers agree, and the opponent resumes with its own random draws.
TEST(Replay, FollowingALogPlaysTheSameGameAsPlayingItAll) {
    const GameData a = shipped(), b = *readDataFile(TTT_BENCH_TABLES "/baseline.dat").data;
    int differ = 0;
    for (const char *name : {"forks", "alphabeta:2", "heuristics", "forklevel#4", "searchers", "tables", "mcts"})
        for (int game = 0; game < 4; ++game)
            for (bool userOpens : {true, false}) {
                const ReplayGame g{name, userOpens, 9, game};
                const GameLog first = replay(a, g);
                bool changed = true;
                EXPECT_EQ(replay(a, g, &first, &changed).moves, first.moves) << name;
                EXPECT_FALSE(changed) << name;
                const GameLog fresh = replay(b, g), followed = replay(b, g, &first, &changed);
                EXPECT_EQ(followed.moves, fresh.moves) << name << " game " << game;
                EXPECT_EQ(followed.outcome, fresh.outcome) << name;
                differ += changed;
            }
    EXPECT_GT(differ, 0);
}

TEST(Replies, TheCubesMapsKeepLinesAndTheStudyGroupsAlikeAnswers) {
    std::set<std::set<int>> lines;
    for (const Line &l : Geometry::get().lines)
        lines.insert({l.begin(), l.end()});
    std::set<CellMap> maps(cubeMaps().begin(), cubeMaps().end());
    EXPECT_EQ(maps.size(), 192u);
    for (const CellMap &m : maps) {
        std::set<std::set<int>> mapped;
        for (const auto &l : lines) {
            std::set<int> to;
            for (int k : l)
                to.insert(m[static_cast<std::size_t>(k)]);
            mapped.insert(to);
        }
        EXPECT_EQ(mapped, lines);
        EXPECT_TRUE(onSevenLines(m[1])); // a corner goes to a corner or a centre cell
    }
    const std::string text = formatReplies(studyReplies(shipped(), {"random"}, 2, 5, 2));
    EXPECT_NE(text.find("random: 114 0.0 141 0.0 411 0.0\n"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 12 + 1) << text; // 12 classes of the 63 answers
}

// Random changes keep a table loadable, and those that could tie too early are caught. Without a
// row for the empty lines, a tie is safe only if the fallback list meets every line.
TEST(Mutation, ChangesKeepTablesLoadableAndTiesSafe) {
    GameData d = shipped();
    std::mt19937 rng(3);
    int unsafe = 0;
    for (int i = 0; i < 2000; ++i) {
        GameData next = d;
        const std::string what = mutate(next, rng);
        ASSERT_EQ(checkData(next, "changed"), "") << "step " << i;
        int from = 0, to = 0; // a moved row lands in its place and the rows between shift down by one
        for (int k = std::sscanf(what.c_str(), "move row %d to %d", &from, &to) == 2 ? to : 1; k <= from; ++k)
            for (int v = 1; v <= 3; ++v)
                ASSERT_EQ(next.patterns(v, k), d.patterns(v, k == to ? from : k - 1)) << what;
        unsafe += !tieSafe(next);
        if (tieSafe(next))
            d = next;
    }
    EXPECT_GT(unsafe, 0) << "some changes must be caught as unsafe";
    d = *readDataFile(TTT_BENCH_TABLES "/shipped-907e01b.dat").data;
    for (int k = 3; k <= kPatternRows; ++k) // the catch-all for the empty lines goes
        if (d.patterns(1, k) == 0 && d.patterns(2, k) < 0)
            d.patterns(1, k) = -1;
    EXPECT_FALSE(tieSafe(d));
    const int meets[kPrefCells] = {1, 8, 10, 15, 19, 22, 27, 28, 29, 36, 37, 43, 46, 50, 52, 55, 57, 61, 64, 39};
    for (int i = 1; i <= kPrefCells; ++i)
        d.prefcells(i) = static_cast<int16>(meets[i - 1]);
    EXPECT_TRUE(usable(d));
    EXPECT_EQ(playMatch(d, "random", true, 100, 7).wins, 100);
    d.prefcells(2) = 1; // 8 alone met a line
    EXPECT_FALSE(tieSafe(d));
}

// Every turn of a recorded game and every empty cell: a steer either leaves the table alone or makes
// the scan take that cell by moving one line up, every other order kept; the mirrored candidates are
// the table's own moves on the board turned, never its move on the board itself.
TEST(Mutation, SteerTakesAnotherCandidateByMovingOneLine) {
    const GameData d = shipped();
    std::mt19937 rng(4);
    int steered = 0, refused = 0, mirrored = 0;
    const GameLog log = replay(d, {"forks", true, 9, 1});
    const auto lineSet = [](const GameData &g) {
        std::multiset<std::multiset<int>> out;
        for (int L = 1; L <= kLines; ++L)
            out.insert({g.lines(4 * L - 3), g.lines(4 * L - 2), g.lines(4 * L - 1), g.lines(4 * L)});
        return out;
    };
    Table<int16, kCells> board;
    for (std::size_t j = 0; j + 1 < log.moves.size(); j += 2) {
        board(log.moves[j]) = kUser;
        const std::vector<int> images = imageChoices(d, board, rng);
        EXPECT_EQ(std::set<int>(images.begin(), images.end()).size(), images.size());
        EXPECT_EQ(std::count(images.begin(), images.end(), scanChoice(d, board)), 0);
        mirrored += !images.empty();
        for (int cell = 1; cell <= kCells; ++cell) {
            GameData t = d;
            if (!steer(t, board, cell, rng)) {
                EXPECT_EQ(t, d);
                refused += board(cell) == kEmpty && scanChoice(d, board) != 0;
                continue;
            }
            ++steered;
            ASSERT_EQ(scanChoice(t, board), cell);
            EXPECT_TRUE(t.patterns == d.patterns && t.prefcells == d.prefcells);
            EXPECT_EQ(lineSet(t), lineSet(d)); // the same lines, one moved
        }
        if (log.moves[j + 1] < 100)
            board(log.moves[j + 1]) = kComputer;
    }
    EXPECT_GT(steered, 10);
    EXPECT_GT(refused, 10);
    EXPECT_GT(mirrored, 3);
}

} // namespace
} // namespace ttt::bench
