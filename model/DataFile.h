#pragma once

#include "model/GameData.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace ttt {

inline constexpr int kDataFields = kLineEntries + kPrefCells + 3 * kPatternRows; // 366
inline constexpr const char *kDataFileName = "kubix.dat";

struct LoadResult {
    std::optional<GameData> data; // set when the file loaded
    std::string error;            // otherwise what is wrong, naming the file and the place
};

// Reads the 366 fields of a data file: 304 line entries, 20 fallback cells and 14 pattern rows of
// three values. Fields are decimal integers separated by blanks, tabs, line ends (LF, CR-LF or CR)
// and at most one comma; whatever follows the 366th field is not read. Besides the format, the
// tables must be usable: every line entry and fallback cell a cell from 1 to 64, the line table the
// 76 straight lines of the cube each once, row 1 looking for a = 4 and row 2 for a = 15.
LoadResult readDataFile(const std::filesystem::path &path);

// The same, from a stream; `name` is what error messages call the input.
LoadResult readData(std::istream &in, const std::string &name);

// Checks tables already in memory the way the loader does; empty when they are sound.
std::string checkData(const GameData &data, const std::string &name);

} // namespace ttt

namespace ttt {

// The 366 values of the tables, in file order.
std::vector<int16> dataFields(const GameData &data);

// Writes the tables in the shipped layout: a line of the cube per text line, then the fallback
// cells, then one pattern row per text line.
std::string formatData(const GameData &data);

} // namespace ttt
