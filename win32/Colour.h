#pragma once
#include <cstdint>

namespace cw {

// 0x00BBGGRR, red in the low byte. Values with the high bit set name a system colour
// (0x80000000 + COLOR_* index).
using Colour = std::uint32_t;

} // namespace cw
