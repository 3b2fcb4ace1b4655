#pragma once

#include <cstdint>
#include <vector>

namespace kv::tools {

// The pointer: 48 × 48 pixels as 0xRRGGBB, top row first, on magenta, with the
// arrow's tip on pixel (24, 24), the hot spot.
std::vector<std::uint32_t> draw_cursor_arrow();

}  // namespace kv::tools
