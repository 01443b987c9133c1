// The data file reader under fuzzed bytes: any input either loads into tables the loader's own check
// accepts, or is refused with a message. (Turns on the tables it accepts are the whole-game target's.)
#include "model/DataFile.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    const ttt::LoadResult loaded = ttt::readData(in, "kubix.dat");
    if (loaded.data ? !ttt::checkData(*loaded.data, "fuzz").empty() : loaded.error.empty()) {
        std::fprintf(stderr, "broken rule: %s\n", loaded.data ? "accepted tables its own check refuses" : "refused without a message");
        std::abort();
    }
    return 0;
}
