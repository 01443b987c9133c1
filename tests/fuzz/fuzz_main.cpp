#include "FuzzDataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ttt::fuzz::dataFileInput(data, size);
    return 0;
}
