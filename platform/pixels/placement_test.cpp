#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "platform/pixels/blit.h"

namespace kv::pixels {
namespace {

TEST(RoundPosition, NearestWithHalvesAwayFromZero) {
  const struct {
    float value;
    int expected;
  } cases[] = {{0.0f, 0},   {0.49f, 0},  {0.5f, 1},     {1.5f, 2},     {2.5f, 3},    {-0.5f, -1},
               {-1.5f, -2}, {-2.4f, -2}, {-25.0f, -25}, {775.0f, 775}, {799.6f, 800}};
  for (const auto& c : cases) EXPECT_EQ(round_position(c.value), c.expected) << c.value;
}

TEST(RoundPosition, FarOffValuesCannotReachThePage) {
  const PixelView page{nullptr, 3200, 800, 600, 4};
  const PixelView image{nullptr, 64 * 4, 64, 64, 4};
  for (float value : {1e20f, -1e20f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()}) {
    const int p = round_position(value);
    EXPECT_TRUE(place(page, image, p, 0).empty()) << value;
    EXPECT_TRUE(place(page, image, 0, p).empty()) << value;
  }
}

TEST(Place, ClipsToThePage) {
  const PixelView page{nullptr, 3200, 800, 600, 4};
  const PixelView cursor{nullptr, 48 * 4, 48, 48, 4};
  const PixelView big{nullptr, 1000 * 4, 1000, 700, 4};
  const struct {
    const PixelView& image;
    int x, y;
    Placement expected;
  } cases[] = {
      {cursor, 10, 20, {0, 0, 10, 20, 48, 48}},     {cursor, -24, -24, {24, 24, 0, 0, 24, 24}},
      {cursor, 775, 575, {0, 0, 775, 575, 25, 25}}, {cursor, -25, -25, {25, 25, 0, 0, 23, 23}},
      {cursor, -47, 599, {47, 0, 0, 599, 1, 1}},    {big, -10, -50, {10, 50, 0, 0, 800, 600}},
  };
  for (const auto& c : cases) {
    const Placement got = place(page, c.image, c.x, c.y);
    const Placement& e = c.expected;
    EXPECT_EQ((std::array{got.src_x, got.src_y, got.dst_x, got.dst_y, got.width, got.height}),
              (std::array{e.src_x, e.src_y, e.dst_x, e.dst_y, e.width, e.height}))
        << c.x << ", " << c.y;
  }
}

TEST(Place, NothingForAnImageOutsideThePageOrOfAnotherDepth) {
  const PixelView page{nullptr, 3200, 800, 600, 4};
  const PixelView cursor{nullptr, 48 * 4, 48, 48, 4};
  const int outside[][2] = {{800, 0}, {0, 600}, {-48, 0}, {0, -48}, {-48, -48}, {2000000000, 0}};
  for (const auto& at : outside) {
    EXPECT_TRUE(place(page, cursor, at[0], at[1]).empty()) << at[0] << ", " << at[1];
  }
  const PixelView cursor_16{nullptr, 48 * 2, 48, 48, 2};
  EXPECT_TRUE(place(page, cursor_16, 0, 0).empty());
}

}  // namespace
}  // namespace kv::pixels
