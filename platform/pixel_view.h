#pragma once

#include <cstddef>
#include <cstdint>

namespace kv {

// A rectangle of pixels in memory: a page or an image. Rows are `stride` bytes
// apart, top row first; each pixel is 2 bytes (5-6-5) or 4 bytes (0xAARRGGBB).
struct PixelView {
  std::uint8_t* data = nullptr;
  std::ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
  int bytes_per_pixel = 0;

  std::uint8_t* row(int y) const { return data + y * stride; }
};

inline constexpr std::uint16_t mask_colour_16 = 0xF81F;
inline constexpr std::uint32_t mask_colour_32 = 0xFFFF00FF;

inline bool is_mask_16(std::uint16_t pixel) { return pixel == mask_colour_16; }
inline bool is_mask_32(std::uint32_t pixel) { return (pixel & 0xFFFFFFu) == 0xFF00FFu; }

// A 0xAARRGGBB colour value reduced to 5-6-5 by truncation.
inline std::uint16_t colour_to_16(std::uint32_t colour) {
  return static_cast<std::uint16_t>(((colour >> 8) & 0xF800u) | ((colour >> 5) & 0x07E0u) |
                                    ((colour >> 3) & 0x001Fu));
}

}  // namespace kv
