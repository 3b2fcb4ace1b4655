#include "menu/frame_composition.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string_view>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/display_testing.h"
#include "platform/pixels/font.h"

namespace kv {
namespace {

constexpr int page_width = 800, page_height = 600;
constexpr std::string_view title = "Kestovaria";

bool title_covers(int left, int top, int x, int y) {
  const int dx = x - left, dy = y - top;
  if (dx < 0 || dy < 0 || dy > 7 || dx >= 8 * static_cast<int>(title.size())) return false;
  return pixels::font_8x8[static_cast<unsigned char>(title[dx / 8])][dy] & (0x80 >> (dx % 8));
}
bool green_title(int x, int y) { return title_covers(11, 11, x, y); }
bool black_title(int x, int y) { return !green_title(x, y) && title_covers(10, 10, x, y); }

std::uint32_t get(const std::uint8_t* at, int bytes_per_pixel) {
  std::uint32_t value = 0;
  std::memcpy(&value, at, bytes_per_pixel);
  return value;
}
void put(std::uint8_t* at, int bytes_per_pixel, std::uint32_t value) {
  std::memcpy(at, &value, bytes_per_pixel);
}

std::uint32_t get(const Image& image, int x, int y) {
  return get(image.row(y) + x * image.bytes_per_pixel(), image.bytes_per_pixel());
}
void put(Image& image, int x, int y, std::uint32_t value) {
  put(image.row(y) + x * image.bytes_per_pixel(), image.bytes_per_pixel(), value);
}

bool is_mask(std::uint32_t pixel, int depth) {
  return depth == 16 ? pixel == mask_colour_16 : (pixel & 0xFFFFFF) == 0xFF00FF;
}

// floor((p + i) / 2) in every colour channel.
std::uint32_t half_way(std::uint32_t p, std::uint32_t i, int depth) {
  const auto channel = [&](int shift, std::uint32_t mask) {
    return ((((p >> shift) & mask) + ((i >> shift) & mask)) / 2) << shift;
  };
  if (depth == 16) return channel(11, 0x1F) | channel(5, 0x3F) | channel(0, 0x1F);
  return channel(16, 0xFF) | channel(8, 0xFF) | channel(0, 0xFF);
}

// A page as the test expects it or reads it back. At 32 bits only the colour
// bytes are compared: the top byte is never shown.
struct Page {
  int depth;
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(page_width * page_height);
  std::uint32_t& at(int x, int y) { return pixels[y * page_width + x]; }

  static Page read(int number, int depth) {
    Page page{depth};
    const auto bytes = testing::page_pixels(number);
    const std::size_t stride = bytes.size() / page_height;
    for (int y = 0; y < page_height; ++y) {
      for (int x = 0; x < page_width; ++x) {
        page.at(x, y) = get(&bytes[y * stride + x * depth / 8], depth / 8);
        if (depth == 32) page.at(x, y) &= 0xFFFFFF;
      }
    }
    return page;
  }

  // What one composed frame makes of this page, worked out pixel by pixel.
  void compose(const Image& menu, const Image& cursor, int cursor_x, int cursor_y) {
    for (int y = 0; y < page_height; ++y) {
      for (int x = 0; x < page_width; ++x) {
        const std::uint32_t i = get(menu, x, y);
        if (!is_mask(i, depth)) at(x, y) = half_way(at(x, y), i, depth);
        const int u = x - cursor_x, v = y - cursor_y;
        if (u >= 0 && v >= 0 && u < cursor.width() && v < cursor.height()) {
          const std::uint32_t c = get(cursor, u, v);
          if (!is_mask(c, depth)) at(x, y) = depth == 32 ? c & 0xFFFFFF : c;
        }
        if (black_title(x, y)) at(x, y) = 0;
        if (green_title(x, y)) at(x, y) = depth == 16 ? 0x07E0 : 0x00FF00;
      }
    }
  }
};

void expect_same(Page& actual, Page& expected, const char* what) {
  for (int y = 0; y < page_height; ++y) {
    for (int x = 0; x < page_width; ++x) {
      if (actual.at(x, y) != expected.at(x, y)) {
        ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex
                      << actual.at(x, y) << ", expected " << expected.at(x, y);
        return;
      }
    }
  }
}

class FrameComposition : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_EQ(testing::open_memory_display(depth()), 0);
    select_pages(1, 0);
  }
  void TearDown() override { close_display(); }

  int depth() const { return GetParam(); }
  Page work_page() const { return Page::read(1, depth()); }

  Image image(int width, int height) {
    auto made = create_image(width, height);
    EXPECT_TRUE(made.has_value());
    return std::move(*made);
  }
  Image filled(int width, int height, std::uint32_t colour) {
    Image made = image(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) put(made, x, y, colour);
    return made;
  }
  std::uint32_t mask() const { return depth() == 16 ? mask_colour_16 : mask_colour_32; }
  std::uint32_t white() const { return depth() == 16 ? 0xFFFF : 0xFFFFFFFF; }
  // Covers the whole work page with one colour.
  void paint_page(std::uint32_t colour) { keyed_copy(filled(800, 600, colour), 0, 0); }
};

TEST_P(FrameComposition, FramesOverFramesAreExact) {
  std::mt19937 random(depth());
  const auto random_image = [&](int width, int height, int mask_one_in) {
    Image made = image(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        put(made, x, y,
            random() % mask_one_in == 0 ? mask() : static_cast<std::uint32_t>(random()));
    return made;
  };
  const Image menu = random_image(800, 600, 20), cursor = random_image(48, 48, 4);
  Page expected = work_page();
  const int pointers[][2] = {{400, 300}, {0, 0}, {799, 599}, {-1, -1}, {13, 14}, {400, 300}};
  for (const auto& pointer : pointers) {
    SCOPED_TRACE(::testing::Message() << pointer[0] << ", " << pointer[1]);
    compose_frame(&menu, &cursor, pointer[0] - 24, pointer[1] - 24);
    expected.compose(menu, cursor, pointer[0] - 24, pointer[1] - 24);
    Page actual = work_page();
    expect_same(actual, expected, "frame");
  }
}

TEST_P(FrameComposition, CursorIsClippedAtThePageEdges) {
  const struct {
    int pointer_x, pointer_y;
    int src_x, src_y, dst_x, dst_y, size;
  } cases[] = {
      {0, 0, 24, 24, 0, 0, 24},        // bottom-right 24 × 24 in the top-left corner
      {799, 599, 0, 0, 775, 575, 25},  // top-left 25 × 25 in the bottom-right corner
      {-1, -1, 25, 25, 0, 0, 23},      // a failed pointer query: bottom-right 23 × 23
  };
  Image cursor = image(48, 48);
  for (int v = 0; v < 48; ++v)
    for (int u = 0; u < 48; ++u) put(cursor, u, v, 0x0F000000u | (v * 48 + u + 1));
  const Image menu = filled(800, 600, mask());
  const std::uint32_t background = depth() == 16 ? 0x1234 : 0x123456;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.pointer_x << ", " << c.pointer_y);
    paint_page(background);
    compose_frame(&menu, &cursor, c.pointer_x - 24, c.pointer_y - 24);
    Page page = work_page();
    int cursor_pixels = 0;
    for (int y = 0; y < page_height; ++y) {
      for (int x = 0; x < page_width; ++x) {
        if (title_covers(10, 10, x, y) || title_covers(11, 11, x, y)) continue;
        const int u = x - c.dst_x + c.src_x, v = y - c.dst_y + c.src_y;
        const bool inside =
            x >= c.dst_x && y >= c.dst_y && x < c.dst_x + c.size && y < c.dst_y + c.size;
        const std::uint32_t want =
            inside ? get(cursor, u, v) & (depth() == 16 ? 0xFFFF : 0xFFFFFF) : background;
        cursor_pixels += inside;
        ASSERT_EQ(page.at(x, y), want) << x << ", " << y;
      }
    }
    EXPECT_GT(cursor_pixels, 0);
  }
}

// With nothing to draw from either image only the title changes the page: the
// green strokes, and the black copy as a one-pixel edge above and left of them.
TEST_P(FrameComposition, MaskOnlyOrAbsentImagesLeaveJustTheTitle) {
  const Image menu = filled(800, 600, mask()), cursor = filled(48, 48, mask());
  for (const bool absent : {false, true}) {
    SCOPED_TRACE(absent ? "absent images" : "mask-only images");
    paint_page(white());
    compose_frame(absent ? nullptr : &menu, absent ? nullptr : &cursor, 300, 200);
    Page page = work_page();
    const std::uint32_t shown_white = white() & (depth() == 16 ? 0xFFFF : 0xFFFFFF);
    int black_pixels = 0;
    for (int y = 0; y < page_height; ++y) {
      for (int x = 0; x < page_width; ++x) {
        const std::uint32_t want = green_title(x, y)   ? (depth() == 16 ? 0x07E0 : 0x00FF00)
                                   : black_title(x, y) ? 0
                                                       : shown_white;
        ASSERT_EQ(page.at(x, y), want) << x << ", " << y;
        if (want == 0) {
          ++black_pixels;
          ASSERT_TRUE(green_title(x + 1, y + 1))
              << "black without green below right at " << x << ", " << y;
        }
      }
    }
    EXPECT_GT(black_pixels, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(BothDepths, FrameComposition, ::testing::Values(16, 32),
                         [](const auto& info) { return "depth" + std::to_string(info.param); });

}  // namespace
}  // namespace kv
