#pragma once

#include <cstdint>
#include <vector>

namespace kv::tools {

// The main-menu backdrop: 800 × 600 pixels as 0xRRGGBB, top row first.
std::vector<std::uint32_t> draw_menu_backdrop();

}  // namespace kv::tools
