#pragma once

#include "model/Cells.h"
#include "model/GameData.h"

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace ttt::bench {

// True when the table can only declare a tie once no line is left to complete: for every sum of a
// line that one side alone holds and that still has an empty cell (0, 1, 2, 3, 5, 10; 15 is row 2),
// some row 3..14 takes any empty cell of such a line (a = that sum, b < 0). The computer reaches
// "tie game" only when no row matches, so then no such line exists. An empty line may instead be
// left to a fallback list that meets every line: while one is empty, a fallback cell is free.
bool tieSafe(const GameData &data);

// True when every line holds one of the fallback cells.
bool fallbackMeetsEveryLine(const GameData &data);

inline constexpr int kSevenLineCells = 16;

// True when the fallback list starts with the 16 seven-line cells, each once.
bool sevenLineCellsFirst(const GameData &data);

// One random change to the table, of a kind that keeps it loadable: lines moved or their cells
// reordered, fallback cells reordered or replaced, pattern rows 3..14 changed or swapped. Returns a
// short description. The fallback list keeps its 16 seven-line cells at its head, and a list that
// meets every line its first 16 cells.
std::string mutate(GameData &data, std::mt19937 &rng);

// The cell the scan takes on this board, or 0 when a win, a loss or nothing decides the turn.
int scanChoice(const GameData &data, const Table<int16, kCells> &board);

// Changes the line order so that on this board the scan takes `cell` instead of what it takes now,
// when `cell` is another candidate of the row that decides: `cell` goes to the front of one of its
// lines (drawn at random among those that can do it), and that line moves up no further than it
// must. A search led by lost games tries other choices of the same rule where they mattered,
// instead of waiting for a random change to touch them. False, the table unchanged, when no such
// change exists (a forced move, a cell of another row, a taken cell).
bool steer(GameData &data, const Table<int16, kCells> &board, int cell, std::mt19937 &rng);

// The cells the scan takes on the board turned by each of the cube's maps, turned back, each once
// and not the one it takes on the board itself, in random order. The opponents play every side of
// the cube alike but the scan does not, so these are the table's own moves from the sides it plays
// best as well as worst: candidates for `steer`.
std::vector<int> imageChoices(const GameData &data, const Table<int16, kCells> &board, std::mt19937 &rng);

// A table a search may play and write: the game loads it, it is tie-safe and its fallback list
// either tries the 16 seven-line cells first or meets every line (no 20 cells do both).
bool usable(const GameData &data);

// A search's starting table, or the reason the file cannot be one.
std::optional<GameData> loadStart(const std::string &path, std::string &error);

// Writes the table through a temporary file, so a reader never sees half of it.
void writeTable(const GameData &data, const std::string &path);

} // namespace ttt::bench
