#include <cstring>

#include "platform/pixels/blit.h"
#include "platform/pixels/font.h"

namespace kv::pixels {
namespace {

void put(const PixelView& page, long long x, long long y, std::uint32_t colour_32,
         std::uint16_t colour_16) {
  if (x < 0 || y < 0 || x >= page.width || y >= page.height) return;
  std::uint8_t* at = page.row(static_cast<int>(y)) + x * page.bytes_per_pixel;
  if (page.bytes_per_pixel == 2) {
    std::memcpy(at, &colour_16, sizeof colour_16);
  } else {
    std::memcpy(at, &colour_32, sizeof colour_32);
  }
}

}  // namespace

void draw_text(const PixelView& page, int x, int y, std::string_view text, std::uint32_t colour) {
  const std::uint16_t colour_16 = colour_to_16(colour);
  long long pen = x;
  for (const unsigned char c : text) {
    if (pen >= page.width) break;
    for (int row = 0; row < 8; ++row) {
      const unsigned bits = font_8x8[c][row];
      for (int column = 0; column < 8; ++column) {
        if (bits & (0x80u >> column))
          put(page, pen + column, static_cast<long long>(y) + row, colour, colour_16);
      }
    }
    pen += 8;
  }
}

}  // namespace kv::pixels
