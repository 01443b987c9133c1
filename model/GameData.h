#pragma once

#include "model/Cells.h"
#include "model/Table.h"

namespace ttt {

// What the computer knows of the game, as read from the data file.
struct GameData {
    Table<int16, kLineEntries> lines;           // line L is entries 4L-3 .. 4L
    Table<int16, kPrefCells> prefcells;         // fallback cells, in the order tried
    Table2<int16, 3, kPatternRows> patterns;    // patterns(i, k): value i (a, b, c) of row k
    friend bool operator==(const GameData &, const GameData &) = default;
};

} // namespace ttt
