#include "fuzz/FuzzDataFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Every file the fuzzer was seeded with or has found runs through the same checks here, on every
// build, with or without the fuzzer's toolchain.
TEST(FuzzCorpus, ReplaysCleanly) {
    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(TTT_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        ttt::fuzz::dataFileInput(bytes.data(), bytes.size());
        ++files;
    }
    EXPECT_GE(files, 8);
}

} // namespace
