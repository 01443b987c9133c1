#pragma once

#include <cstddef>
#include <cstdint>

namespace ttt::fuzz {

// Loads `data` as a data file; when it loads, plays the computer's turn on boards made from the
// same bytes. Aborts on any broken rule of the turn, so the fuzzer reports it.
void dataFileInput(const std::uint8_t *data, std::size_t size);

} // namespace ttt::fuzz
