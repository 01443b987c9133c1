#include "bench/search/Mutation.h"

#include "bench/arena/Match.h"
#include "bench/arena/Position.h"
#include "model/Cells.h"
#include "model/DataFile.h"
#include "player/ComputerPlayer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <vector>

namespace ttt::bench {

bool sevenLineCellsFirst(const GameData &data) {
    std::array<bool, kCells + 1> seen{};
    for (int i = 1; i <= kSevenLineCells; ++i) {
        const int cell = data.prefcells(i);
        if (!onSevenLines(cell) || seen[static_cast<std::size_t>(cell)])
            return false;
        seen[static_cast<std::size_t>(cell)] = true;
    }
    return true;
}

bool fallbackMeetsEveryLine(const GameData &data) {
    std::array<bool, kCells + 1> fallback{}; // a table not checked yet may hold any number
    const auto inRange = [](int cell) { return cell >= 1 && cell <= kCells; };
    for (int i = 1; i <= kPrefCells; ++i)
        if (inRange(data.prefcells(i)))
            fallback[static_cast<std::size_t>(data.prefcells(i))] = true;
    for (int L = 1; L <= kLines; ++L) {
        bool met = false;
        for (int j = 4 * L - 3; j <= 4 * L; ++j)
            met = met || (inRange(data.lines(j)) && fallback[static_cast<std::size_t>(data.lines(j))]);
        if (!met)
            return false;
    }
    return true;
}

bool tieSafe(const GameData &data) {
    for (int sum : {0, 1, 2, 3, 5, 10}) {
        bool covered = false;
        for (int k = 3; k <= kPatternRows && !covered; ++k)
            covered = data.patterns(1, k) == sum && data.patterns(2, k) < 0;
        if (!covered && !(sum == 0 && fallbackMeetsEveryLine(data)))
            return false;
    }
    return true;
}

namespace {

int uniform(std::mt19937 &rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// Sums a line can have with an empty cell left, and -1 for "no condition".
constexpr std::array<int, 11> kSums = {-1, 0, 1, 2, 3, 5, 6, 7, 10, 11, 15};

Line cellsOf(const GameData &d, int L) {
    Line cells;
    for (int i = 0; i < 4; ++i)
        cells[static_cast<std::size_t>(i)] = d.lines(4 * L - 3 + i);
    return cells;
}

void swapLines(GameData &d, int a, int b) {
    for (int i = 0; i < 4; ++i)
        std::swap(d.lines(4 * a - 3 + i), d.lines(4 * b - 3 + i));
}

} // namespace

std::string mutate(GameData &d, std::mt19937 &rng) {
    switch (uniform(rng, 0, 10)) {
    case 0: { // swap two lines
        const int a = uniform(rng, 1, kLines), b = uniform(rng, 1, kLines);
        swapLines(d, a, b);
        return "swap lines " + std::to_string(a) + " " + std::to_string(b);
    }
    case 1: { // move a line forward, shifting the others down
        const int from = uniform(rng, 2, kLines), to = uniform(rng, 1, from - 1);
        for (int L = from; L > to; --L)
            swapLines(d, L, L - 1);
        return "move line " + std::to_string(from) + " to " + std::to_string(to);
    }
    case 2: { // swap two cells of a line
        const int L = uniform(rng, 1, kLines), i = uniform(rng, 0, 3), j = uniform(rng, 0, 3);
        std::swap(d.lines(4 * L - 3 + i), d.lines(4 * L - 3 + j));
        return "reorder line " + std::to_string(L);
    }
    case 3: { // swap two fallback cells, among the first 16 or among the last 4
        const bool head = uniform(rng, 0, 4) > 0;
        const int lo = head ? 1 : kSevenLineCells + 1, hi = head ? kSevenLineCells : kPrefCells;
        const int a = uniform(rng, lo, hi), b = uniform(rng, lo, hi);
        std::swap(d.prefcells(a), d.prefcells(b));
        return "swap fallback " + std::to_string(a) + " " + std::to_string(b);
    }
    case 4: { // replace one of the last 4 fallback cells
        const int a = uniform(rng, kSevenLineCells + 1, kPrefCells);
        int cell;
        do
            cell = uniform(rng, 1, kCells);
        while (onSevenLines(cell));
        d.prefcells(a) = static_cast<int16>(cell);
        return "replace fallback " + std::to_string(a);
    }
    case 5:
    case 6:
    case 7: { // change one value of a pattern row
        const int k = uniform(rng, 3, kPatternRows), i = uniform(rng, 1, 3);
        int v = kSums[static_cast<std::size_t>(uniform(rng, 0, static_cast<int>(kSums.size()) - 1))];
        if (i == 1 && v < 0)
            v = kSums[static_cast<std::size_t>(uniform(rng, 1, static_cast<int>(kSums.size()) - 1))];
        d.patterns(i, k) = static_cast<int16>(v);
        return "row " + std::to_string(k) + " value " + "abc"[i - 1] + " = " + std::to_string(v);
    }
    case 8: { // swap two pattern rows
        const int a = uniform(rng, 3, kPatternRows), b = uniform(rng, 3, kPatternRows);
        for (int i = 1; i <= 3; ++i)
            std::swap(d.patterns(i, a), d.patterns(i, b));
        return "swap rows " + std::to_string(a) + " " + std::to_string(b);
    }
    case 10: { // a new row altogether
        const int k = uniform(rng, 3, kPatternRows);
        const auto any = [&](int from) {
            return kSums[static_cast<std::size_t>(uniform(rng, from, static_cast<int>(kSums.size()) - 1))];
        };
        d.patterns(1, k) = static_cast<int16>(any(1));
        d.patterns(2, k) = static_cast<int16>(any(0));
        d.patterns(3, k) = static_cast<int16>(any(0));
        return "new row " + std::to_string(k);
    }
    default: { // move a row up, shifting the others down
        const int from = uniform(rng, 4, kPatternRows), to = uniform(rng, 3, from - 1);
        for (int k = from; k > to; --k)
            for (int i = 1; i <= 3; ++i)
                std::swap(d.patterns(i, k), d.patterns(i, k - 1));
        return "move row " + std::to_string(from) + " to " + std::to_string(to);
    }
    }
}

int scanChoice(const GameData &data, const Table<int16, kCells> &board) {
    GameState state;
    state.board = board;
    CaptionView view;
    ComputerPlayer computer(data, state, view);
    computer.analyze();
    return computer.patnum >= 3 ? computer.choice : 0;
}

bool steer(GameData &data, const Table<int16, kCells> &board, int cell, std::mt19937 &rng) {
    const int now = scanChoice(data, board);
    if (now == 0 || now == cell || board(cell) != kEmpty)
        return false;
    std::vector<int> through;
    for (int L = 1; L <= kLines; ++L) {
        const Line line = cellsOf(data, L);
        if (std::find(line.begin(), line.end(), cell) != line.end())
            through.push_back(L);
    }
    std::shuffle(through.begin(), through.end(), rng);
    for (int L : through) {
        GameData t = data;
        Line line = cellsOf(t, L);
        const auto at = std::find(line.begin(), line.end(), cell);
        std::rotate(line.begin(), at, at + 1);
        for (int i = 0; i < 4; ++i)
            t.lines(4 * L - 3 + i) = static_cast<int16>(line[static_cast<std::size_t>(i)]);
        GameData front = t;
        for (int k = L; k > 1; --k)
            swapLines(front, k, k - 1);
        if (scanChoice(front, board) != cell)
            continue; // not even first in the scan: a candidate of no deciding row through this line
        // Up one place at a time, to the first place where the scan takes it (the front at worst).
        for (int k = L;; swapLines(t, k, k - 1), --k)
            if (scanChoice(t, board) == cell) {
                data = t;
                return true;
            }
    }
    return false;
}

std::vector<int> imageChoices(const GameData &data, const Table<int16, kCells> &board, std::mt19937 &rng) {
    const int now = scanChoice(data, board);
    std::vector<int> out;
    for (const CellMap &m : cubeMaps()) {
        Table<int16, kCells> turned;
        for (int k = 1; k <= kCells; ++k)
            turned(m[static_cast<std::size_t>(k)]) = board(k);
        const int there = scanChoice(data, turned);
        if (there == 0)
            continue;
        int back = 1;
        while (m[static_cast<std::size_t>(back)] != there)
            ++back;
        if (back != now && std::find(out.begin(), out.end(), back) == out.end())
            out.push_back(back);
    }
    std::shuffle(out.begin(), out.end(), rng);
    return out;
}

bool usable(const GameData &data) {
    return checkData(data, "candidate").empty() && tieSafe(data) &&
           (sevenLineCellsFirst(data) || fallbackMeetsEveryLine(data));
}

std::optional<GameData> loadStart(const std::string &path, std::string &error) {
    LoadResult r = readDataFile(path);
    if (r.data && usable(*r.data))
        return *r.data;
    error = r.data ? path + ": must be tie-safe, with the 16 seven-line cells first in its fallback list or a "
                            "fallback list that meets every line"
                   : r.error;
    return std::nullopt;
}

void writeTable(const GameData &data, const std::string &path) {
    const std::string tmp = path + ".tmp";
    std::ofstream(tmp) << formatData(data);
    std::rename(tmp.c_str(), path.c_str());
}

} // namespace ttt::bench
