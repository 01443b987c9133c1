// Pattern tables on the user's side: the game's own scan, run on the board seen with the sides
// swapped, so X plays as the computer would. Each game draws the table: one of the tables in
// bench/tables (the naive baseline and the tables shipped up to 907e01b), or a random valid table
// made by 5 to 60 random changes to one of them.
#include "bench/search/Mutation.h"
#include "bench/arena/opponents/Players.h"
#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace ttt::bench {

std::vector<std::filesystem::path> tableFiles(const std::filesystem::path &dir) {
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

const std::vector<GameData> &storedTables() {
    static const std::vector<GameData> tables = [] {
        std::vector<GameData> out;
        // Name order, not the directory's: that differs between file systems, and a game's table
        // is drawn by its index, so every machine must see the same list.
        for (const auto &path : tableFiles(TTT_BENCH_TABLES)) {
            LoadResult r = readDataFile(path);
            if (!r.data)
                throw std::runtime_error(r.error);
            out.push_back(*r.data);
        }
        if (out.empty())
            throw std::runtime_error("no tables in " TTT_BENCH_TABLES);
        return out;
    }();
    return tables;
}

class Silent : public TurnView {
  public:
    void graph(const GameState &) override {}
    void setStatusCaption(const std::string &) override {}
    void setStatusColor(std::int32_t) override {}
};

class TablePlayer : public Opponent {
  public:
    void newGame(std::mt19937 &rng) override {
        const auto &stored = storedTables();
        table_ = stored[static_cast<std::size_t>(below(rng, static_cast<int>(stored.size())))];
        if (uniform(rng, 0, 1) < 0.5)
            for (int n = 5 + below(rng, 56); n > 0; --n)
                mutate(table_, rng);
    }

    int choose(const Board &board, std::mt19937 &rng) override {
        GameState mirrored;
        for (int k = 1; k <= kCells; ++k)
            mirrored.board(k) = board(k) == kUser ? kComputer : board(k) == kComputer ? kUser : kEmpty;
        Silent view;
        ComputerPlayer scan(table_, mirrored, view);
        scan.analyze();
        if (scan.patnum == 2) // its own line of three: the empty cell wins
            for (int j = 4 * scan.choice - 3; j <= 4 * scan.choice; ++j)
                if (board(table_.lines(j)) == kEmpty)
                    return table_.lines(j);
        if (scan.patnum > 2 && scan.choice > 0)
            return scan.choice;
        for (int i = 1; i <= kPrefCells; ++i)
            if (board(table_.prefcells(i)) == kEmpty)
                return table_.prefcells(i);
        return pick(emptyCells(Position(board)), rng); // where the computer would declare a tie
    }

  private:
    GameData table_ = storedTables().front();
};

} // namespace

std::unique_ptr<Opponent> makeTableFamily() { return std::make_unique<TablePlayer>(); }

} // namespace ttt::bench
