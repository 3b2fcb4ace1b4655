#include "platform/picture/image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kv {
namespace {

struct Shape {
  int width, height, depth;
  std::ptrdiff_t stride;
};

TEST(Image, StrideRoundsUpTo16BytesAndEveryByteIsMaskColour) {
  const Shape shapes[] = {
      {48, 48, 16, 96}, {48, 48, 32, 192}, {800, 600, 16, 1600}, {800, 600, 32, 3200},
      {1, 1, 16, 16},   {5, 3, 32, 32},    {9, 2, 16, 32},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(testing::Message() << s.width << " x " << s.height << " at " << s.depth);
    const auto image = Image::create(s.width, s.height, s.depth);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), s.width);
    EXPECT_EQ(image->height(), s.height);
    EXPECT_EQ(image->bytes_per_pixel(), s.depth / 8);
    EXPECT_EQ(image->stride(), s.stride);
    const std::uint8_t* bytes = image->row(0);
    const std::ptrdiff_t size = image->stride() * image->height();
    if (s.depth == 16) {
      for (std::ptrdiff_t i = 0; i < size; i += 2) {
        std::uint16_t word;
        std::memcpy(&word, bytes + i, 2);
        ASSERT_EQ(word, mask_colour_16) << "byte " << i;
      }
    } else {
      for (std::ptrdiff_t i = 0; i < size; i += 4) {
        std::uint32_t word;
        std::memcpy(&word, bytes + i, 4);
        ASSERT_EQ(word, mask_colour_32) << "byte " << i;
      }
    }
  }
}

TEST(Image, NoImageWithoutAPositiveSizeOrAKnownDepth) {
  EXPECT_FALSE(Image::create(0, 10, 32));
  EXPECT_FALSE(Image::create(10, 0, 16));
  EXPECT_FALSE(Image::create(-1, 10, 32));
  EXPECT_FALSE(Image::create(10, -5, 16));
  EXPECT_FALSE(Image::create(10, 10, 24));
}

}  // namespace
}  // namespace kv
