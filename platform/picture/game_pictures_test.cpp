#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/picture/picture_file.h"

namespace kv {
namespace {

std::string gfx(const char* name) { return std::string(KV_SOURCE_DIR) + "/gfx/" + name; }

bool masked(const Image& image, int x, int y) {
  if (image.bytes_per_pixel() == 2) {
    std::uint16_t word;
    std::memcpy(&word, image.row(y) + 2 * x, 2);
    return is_mask_16(word);
  }
  std::uint32_t word;
  std::memcpy(&word, image.row(y) + 4 * x, 4);
  return is_mask_32(word);
}

TEST(GamePictures, MenuPictureFillsItsImageWithoutATransparentPixel) {
  for (const int depth : {16, 32}) {
    Image image = *Image::create(800, 600, depth);
    ASSERT_TRUE(load_picture(image, gfx("mainmenu.bmp"))) << depth;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) ASSERT_FALSE(masked(image, x, y)) << x << ", " << y << " at " << depth;
    }
  }
}

TEST(GamePictures, MenuPictureIsDarkAndCalmBehindTheTitle) {
  Image image = *Image::create(800, 600, 32);
  ASSERT_TRUE(load_picture(image, gfx("mainmenu.bmp")));
  for (int y = 6; y < 22; ++y) {
    for (int x = 6; x < 100; ++x) {
      std::uint32_t word;
      std::memcpy(&word, image.row(y) + 4 * x, 4);
      const unsigned brightest = std::max({word >> 16 & 0xFF, word >> 8 & 0xFF, word & 0xFF});
      ASSERT_LT(brightest, 64u) << x << ", " << y;
    }
  }
}

TEST(GamePictures, CursorPointsAtTheImageCentre) {
  for (const int depth : {16, 32}) {
    SCOPED_TRACE(depth);
    Image image = *Image::create(48, 48, depth);
    ASSERT_TRUE(load_picture(image, gfx("cursor.bmp")));
    EXPECT_FALSE(masked(image, 24, 24));
    // Nothing above or left of the hot spot.
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        if (x < 24 || y < 24) {
          EXPECT_TRUE(masked(image, x, y)) << x << ", " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kv
