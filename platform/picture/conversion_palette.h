#pragma once

#include <array>
#include <cstdint>

namespace kv {

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

using Palette = std::array<PaletteEntry, 256>;

// The one palette that paletted pictures are converted through, for the whole
// process. A picture's colour table replaces its first entries; the others keep
// what earlier pictures left there, black at first. Pictures are loaded from one
// thread.
Palette& conversion_palette();

}  // namespace kv
