#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/pixels/blit.h"
#include "platform/pixels/font.h"

namespace kv::pixels {
namespace {

TEST(Font, TitleGlyphsAsDrawnForTheGame) {
  const struct {
    char c;
    std::array<std::uint8_t, 8> rows;
  } title[] = {
      {'K', {0xE6, 0x66, 0x6C, 0x78, 0x6C, 0x66, 0xE6, 0x00}},
      {'e', {0x00, 0x00, 0x78, 0xCC, 0xFC, 0xC0, 0x78, 0x00}},
      {'s', {0x00, 0x00, 0x7C, 0xC0, 0x78, 0x0C, 0xF8, 0x00}},
      {'t', {0x10, 0x30, 0x7C, 0x30, 0x30, 0x34, 0x18, 0x00}},
      {'o', {0x00, 0x00, 0x78, 0xCC, 0xCC, 0xCC, 0x78, 0x00}},
      {'v', {0x00, 0x00, 0xCC, 0xCC, 0xCC, 0x78, 0x30, 0x00}},
      {'a', {0x00, 0x00, 0x78, 0x0C, 0x7C, 0xCC, 0x76, 0x00}},
      {'r', {0x00, 0x00, 0xDC, 0x76, 0x66, 0x60, 0xF0, 0x00}},
      {'i', {0x30, 0x00, 0x70, 0x30, 0x30, 0x30, 0x78, 0x00}},
  };
  for (const auto& glyph : title) {
    const auto* rows = font_8x8[static_cast<unsigned char>(glyph.c)];
    EXPECT_TRUE(std::equal(glyph.rows.begin(), glyph.rows.end(), rows)) << glyph.c;
  }
}

// A page inside a larger buffer, so writes outside the page are seen.
template <typename Pixel>
struct GuardedPage {
  static constexpr int margin = 9, width = 40, height = 12, full_width = width + 2 * margin,
                       full_height = height + 2 * margin;
  static constexpr Pixel background = static_cast<Pixel>(0x5A5A5A5Au);
  std::vector<Pixel> pixels = std::vector<Pixel>(full_width * full_height, background);
  PixelView view() {
    return {reinterpret_cast<std::uint8_t*>(&pixels[margin * full_width + margin]),
            static_cast<std::ptrdiff_t>(full_width * sizeof(Pixel)), width, height, sizeof(Pixel)};
  }
  Pixel at(int x, int y) const { return pixels[(y + margin) * full_width + x + margin]; }
};

// Where a glyph's set pixel falls, seen from the page: cell (x − left) / 8.
bool text_covers(std::string_view text, int left, int top, int x, int y) {
  const long long dx = static_cast<long long>(x) - left, dy = static_cast<long long>(y) - top;
  if (dx < 0 || dy < 0 || dy > 7 || dx >= 8 * static_cast<long long>(text.size())) return false;
  const unsigned char c = text[dx / 8];
  return font_8x8[c][dy] & (0x80 >> (dx % 8));
}

template <typename Pixel>
void check_text(int left, int top, std::string_view text, std::uint32_t colour, Pixel expected) {
  GuardedPage<Pixel> page;
  draw_text(page.view(), left, top, text, colour);
  using G = GuardedPage<Pixel>;
  for (int y = -G::margin; y < G::height + G::margin; ++y) {
    for (int x = -G::margin; x < G::width + G::margin; ++x) {
      const bool on_page = x >= 0 && y >= 0 && x < G::width && y < G::height;
      const Pixel want = on_page && text_covers(text, left, top, x, y) ? expected : G::background;
      if (page.at(x, y) != want) {
        ADD_FAILURE() << "text at (" << left << ", " << top << "): pixel (" << x << ", " << y
                      << ") is " << std::hex << +page.at(x, y) << ", expected " << +want;
        return;
      }
    }
  }
}

// The colour is truncated to 5-6-5 at 16 bits and written whole at 32; only set
// pixels are written; the pen advances 8 per byte and '\n' is just a glyph.
TEST(DrawText, SetPixelsOnlyInTheColourClippedToThePage) {
  const std::string_view text = "Ke\n\xDB\xB1z";
  const int positions[][2] = {{3, 2},  {0, 0},  {-3, -5}, {-13, 7},     {35, 9},     {36, -7},
                              {40, 0}, {0, 12}, {-48, 0}, {INT_MIN, 0}, {0, INT_MAX}};
  for (const auto& at : positions) {
    check_text<std::uint16_t>(at[0], at[1], text, 0xFF00FF00, 0x07E0);
    check_text<std::uint16_t>(at[0], at[1], text, 0x12345678, 0x32AF);
    check_text<std::uint32_t>(at[0], at[1], text, 0x12345678, 0x12345678);
  }
}

}  // namespace
}  // namespace kv::pixels
