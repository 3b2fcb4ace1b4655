#pragma once

#include <cstdint>

namespace kv::pixels {

// The built-in 8 × 8 font in code page 437 order: 8 rows per glyph, top row
// first, the most significant bit the leftmost pixel.
extern const std::uint8_t font_8x8[256][8];

}  // namespace kv::pixels
