#include "platform/picture/bmp_decoder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/picture/bmp_writer.h"
#include "platform/picture/image.h"

namespace kv {
namespace {

Image make_image(int width, int height, int depth) { return std::move(*Image::create(width, height, depth)); }

std::vector<std::uint8_t> all_bytes(const Image& image) {
  return {image.row(0), image.row(0) + image.stride() * image.height()};
}

std::uint32_t pixel(const Image& image, int x, int y) {
  if (image.bytes_per_pixel() == 2) {
    std::uint16_t word;
    std::memcpy(&word, image.row(y) + 2 * x, 2);
    return word;
  }
  std::uint32_t word;
  std::memcpy(&word, image.row(y) + 4 * x, 4);
  return word;
}

void set_u32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

int decode(const std::vector<std::uint8_t>& file, Image& image, Palette& palette) {
  return decode_bmp(file, image.view(), palette);
}

// Checks that the picture's w × h expected pixels (0xAARRGGBB, top row first)
// are in the image's top-left corner and that every other byte is as `before`.
void expect_region(const Image& image, const std::vector<std::uint8_t>& before, int w, int h,
                   const std::vector<std::uint32_t>& expected) {
  std::vector<std::uint8_t> want = before;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t colour = expected[y * w + x];
      std::uint8_t* at = want.data() + y * image.stride() + x * image.bytes_per_pixel();
      if (image.bytes_per_pixel() == 2) {
        const std::uint16_t word = colour_to_16(colour);
        std::memcpy(at, &word, 2);
      } else {
        std::memcpy(at, &colour, 4);
      }
    }
  }
  EXPECT_EQ(all_bytes(image), want);
}

std::vector<std::uint32_t> through_table(const std::vector<std::uint32_t>& indices,
                                         const std::vector<std::uint32_t>& table) {
  std::vector<std::uint32_t> colours;
  for (const std::uint32_t i : indices) colours.push_back(0xFF000000u | table[i]);
  return colours;
}

struct DepthCase {
  const char* name;
  BmpPicture picture;
  std::vector<std::uint32_t> expected;
};

std::vector<DepthCase> depth_cases() {
  std::vector<DepthCase> cases;
  {
    // Ten pixels span two bytes; the leftmost pixel is the top bit.
    BmpPicture p{.width = 10, .height = 2, .bits = 1, .table = {0x102030, 0xF0E0D0}};
    p.pixels = {1, 0, 0, 1, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0};
    cases.push_back({"1 bit", p, through_table(p.pixels, p.table)});
  }
  {
    BmpPicture p{.width = 3, .height = 2, .bits = 4};
    for (unsigned i = 0; i < 16; ++i) p.table.push_back((i * 16) << 16 | (255 - i * 16) << 8 | i * 8);
    p.pixels = {0, 15, 7, 8, 1, 14};
    cases.push_back({"4 bits", p, through_table(p.pixels, p.table)});
  }
  {
    BmpPicture p{.width = 3, .height = 2, .bits = 8};
    for (unsigned i = 0; i < 256; ++i) p.table.push_back(i << 16 | (255 - i) << 8 | (i ^ 0x5A));
    p.pixels = {0, 200, 255, 17, 128, 254};
    cases.push_back({"8 bits", p, through_table(p.pixels, p.table)});
  }
  {
    BmpPicture p{.width = 3, .height = 2, .bits = 24};
    p.pixels = {0x123456, 0xFFFFFF, 0x07FF80, 0x000000, 0xF80408, 0x8899AA};
    std::vector<std::uint32_t> expected;
    for (const std::uint32_t c : p.pixels) expected.push_back(0xFF000000u | c);
    cases.push_back({"24 bits", p, expected});
  }
  {
    BmpPicture p{.width = 3, .height = 2, .bits = 32};
    p.pixels = {0x12345678, 0x00FF00FF, 0xFFABCDEF, 0x80000000, 0x7F010203, 0xDEADBEEF};
    cases.push_back({"32 bits, top bytes kept", p, p.pixels});
  }
  return cases;
}

TEST(BmpDecoder, EachBitDepthIntoEachImageDepth) {
  for (const DepthCase& c : depth_cases()) {
    for (const int depth : {16, 32}) {
      SCOPED_TRACE(testing::Message() << c.name << " into " << depth << " bits");
      Image image = make_image(12, 4, depth);
      const auto before = all_bytes(image);
      Palette palette{};
      ASSERT_EQ(decode(write_bmp(c.picture), image, palette), 0);
      expect_region(image, before, c.picture.width, c.picture.height, c.expected);
    }
  }
}

struct ColourCase {
  std::uint32_t rgb;
  std::uint16_t word;  // at 16 bits
  bool masked_at_32;
};

TEST(BmpDecoder, ConversionTruncatesAndMapsMagentaToTheMask) {
  const ColourCase cases[] = {
      {0xFF00FF, 0xF81F, true},   // pure magenta
      {0xFA02FA, 0xF81F, false},  // near magenta: transparent only at 16 bits
      {0xF803F8, 0xF81F, false},  // the near-magenta corner
      {0xF700FF, 0xF01F, false},  // red just below it
      {0xFF04FF, 0xF83F, false},  // green just above it
      {0x07FF80, 0x07F0, false},  // truncation, no rounding
      {0xFFFFFF, 0xFFFF, false},
  };
  for (const ColourCase& c : cases) {
    // The same colour as a 24-bit pixel, a palette entry and a 32-bit pixel.
    const BmpPicture pictures[] = {
        {.width = 1, .height = 1, .bits = 24, .pixels = {c.rgb}},
        {.width = 1, .height = 1, .bits = 8, .table = {0, c.rgb}, .pixels = {1}},
        {.width = 1, .height = 1, .bits = 32, .pixels = {0x40000000u | c.rgb}},
    };
    for (const BmpPicture& picture : pictures) {
      SCOPED_TRACE(testing::Message() << std::hex << c.rgb << " from " << std::dec << picture.bits << " bits");
      Palette palette{};
      Image image16 = make_image(1, 1, 16);
      Image image32 = make_image(1, 1, 32);
      ASSERT_EQ(decode(write_bmp(picture), image16, palette), 0);
      ASSERT_EQ(decode(write_bmp(picture), image32, palette), 0);
      EXPECT_EQ(pixel(image16, 0, 0), c.word);
      const std::uint32_t top = picture.bits == 32 ? 0x40000000u : 0xFF000000u;
      EXPECT_EQ(pixel(image32, 0, 0), top | c.rgb);
      EXPECT_EQ(is_mask_32(pixel(image32, 0, 0)), c.masked_at_32);
    }
  }
}

TEST(BmpDecoder, ShortColourTableKeepsTheRestOfThePalette) {
  BmpPicture full{.width = 16, .height = 16, .bits = 8};
  BmpPicture short_table{.width = 16, .height = 16, .bits = 8};
  for (unsigned i = 0; i < 256; ++i) {
    full.table.push_back(i << 16 | (i ^ 0xFF) << 8 | (i * 3 & 0xFF));
    full.pixels.push_back(255 - i);
    short_table.pixels.push_back(i);
  }
  for (unsigned i = 0; i < 16; ++i) short_table.table.push_back(0xC80064u | i << 8);

  Palette palette{};
  Image image = make_image(16, 16, 32);
  ASSERT_EQ(decode(write_bmp(full), image, palette), 0);
  ASSERT_EQ(decode(write_bmp(short_table), image, palette), 0);
  for (unsigned i = 0; i < 256; ++i) {
    const std::uint32_t rgb = i < 16 ? short_table.table[i] : full.table[i];
    EXPECT_EQ(pixel(image, i % 16, i / 16), 0xFF000000u | rgb) << "index " << i;
  }
}

TEST(BmpDecoder, LargerPictureGivesItsTopLeftCornerTheRightWayUp) {
  BmpPicture picture{.width = 50, .height = 50, .bits = 24};
  for (unsigned y = 0; y < 50; ++y)
    for (unsigned x = 0; x < 50; ++x) picture.pixels.push_back(x * 5 << 16 | y * 5 << 8 | (x + y));
  const auto file = write_bmp(picture);
  ASSERT_EQ(file.size(), 54u + 152 * 50);  // rows of 150 bytes padded to 152

  for (const int depth : {16, 32}) {
    Image image = make_image(48, 48, depth);
    const auto before = all_bytes(image);
    Palette palette{};
    ASSERT_EQ(decode(file, image, palette), 0);
    std::vector<std::uint32_t> expected;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) expected.push_back(0xFF000000u | picture.pixels[y * 50 + x]);
    expect_region(image, before, 48, 48, expected);
  }
}

TEST(BmpDecoder, PixelDataFollowsTheColourTableWhateverTheOffset) {
  // An offset of 60 counts one table entry; the two bytes it leaves over are pixel data.
  BmpPicture picture{.width = 2, .height = 1, .bits = 24, .table = {0xABCDEF}, .pixels = {0x112233, 0x445566}};
  picture.data_offset = 60;
  Palette palette{};
  Image image = make_image(2, 1, 32);
  ASSERT_EQ(decode(write_bmp(picture), image, palette), 0);
  EXPECT_EQ(pixel(image, 0, 0), 0xFF112233u);
  EXPECT_EQ(pixel(image, 1, 0), 0xFF445566u);
  EXPECT_EQ(palette[0].red, 0xAB);
  EXPECT_EQ(palette[0].blue, 0xEF);
}

TEST(BmpDecoder, DataEndingEarlyKeepsTheRowsRead) {
  BmpPicture picture{.width = 3, .height = 3, .bits = 24};
  for (std::uint32_t i = 1; i <= 9; ++i) picture.pixels.push_back(i * 0x111111);
  const auto file = write_bmp(picture);
  for (std::size_t length = 54; length < file.size(); ++length) {
    SCOPED_TRACE(testing::Message() << length << " bytes");
    Image image = make_image(3, 3, 32);
    const auto before = all_bytes(image);
    Palette palette{};
    EXPECT_EQ(decode({file.begin(), file.begin() + length}, image, palette), EIO);
    const int rows_read = static_cast<int>(length - 54) / 12;
    for (int y = 0; y < 3; ++y) {
      const bool read = y >= 3 - rows_read;
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(pixel(image, x, y), read ? 0xFF000000u | picture.pixels[y * 3 + x] : mask_colour_32);
    }
    EXPECT_EQ(std::memcmp(image.row(0) + 12, before.data() + 12, 4), 0);  // row padding
  }
}

struct Refusal {
  const char* name;
  std::function<void(std::vector<std::uint8_t>&)> change;
  int error;
};

TEST(BmpDecoder, RefusalsLeaveImageAndPaletteUnchanged) {
  const BmpPicture picture{.width = 2, .height = 2, .bits = 8, .table = {0x102030, 0x405060}, .pixels = {0, 1, 1, 0}};
  const Refusal refusals[] = {
      {"shorter than the headers", [](auto& f) { f.resize(53); }, EINVAL},
      {"empty", [](auto& f) { f.clear(); }, EINVAL},
      {"not BM", [](auto& f) { f[1] = 'A'; }, EINVAL},
      {"information header of 12 bytes", [](auto& f) { set_u32(f, 14, 12); }, EINVAL},
      {"information header of 124 bytes", [](auto& f) { set_u32(f, 14, 124); }, EINVAL},
      {"15 bits", [](auto& f) { f[28] = 15; }, ENOTSUP},
      {"16 bits", [](auto& f) { f[28] = 16; }, ENOTSUP},
      {"0 bits", [](auto& f) { f[28] = 0; }, ENOTSUP},
      {"2 bits", [](auto& f) { f[28] = 2; }, ENOTSUP},
      {"run-length compressed", [](auto& f) { set_u32(f, 30, 1); }, ENOTSUP},
      {"bit fields", [](auto& f) { set_u32(f, 30, 3); }, ENOTSUP},
      {"offset below 54", [](auto& f) { set_u32(f, 10, 53); }, ENOTSUP},
      {"257 table entries", [](auto& f) { set_u32(f, 10, 54 + 257 * 4); }, ENOTSUP},
      {"offset near 4 GiB", [](auto& f) { set_u32(f, 10, 0xFFFFFFFF); }, ENOTSUP},
      {"negative width", [](auto& f) { set_u32(f, 18, 0xFFFFFFFE); }, EINVAL},
      {"table cut short", [](auto& f) { f.resize(54 + 6); }, EIO},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    auto file = write_bmp(picture);
    r.change(file);
    for (const int depth : {16, 32}) {
      Image image = make_image(3, 3, depth);
      const auto before = all_bytes(image);
      Palette palette{};
      palette[1] = {7, 8, 9};
      EXPECT_EQ(decode(file, image, palette), r.error);
      EXPECT_EQ(all_bytes(image), before);
      EXPECT_EQ(palette[0].red, 0);
      EXPECT_EQ(palette[1].red, 7);
    }
  }
}

TEST(BmpDecoder, TopRowFirstPictureFailsAndWritesNothing) {
  BmpPicture picture{.width = 2, .height = -2, .bits = 8, .table = {0x102030, 0x405060}, .pixels = {0, 1, 1, 0}};
  Image image = make_image(2, 2, 32);
  const auto before = all_bytes(image);
  Palette palette{};
  EXPECT_EQ(decode(write_bmp(picture), image, palette), EINVAL);
  EXPECT_EQ(all_bytes(image), before);
  // The colour table comes before the height matters, as for every picture.
  EXPECT_EQ(palette[1].red, 0x40);
}

struct Extreme {
  const char* name;
  std::int32_t width, height;
  int bits;
  int error;
};

TEST(BmpDecoder, ExtremeSizesNeverReachBeyondTheData) {
  // Each header comes with a few rows of real data only.
  const Extreme cases[] = {
      {"widest 32-bit row", 0x7FFFFFFF, 1, 32, EIO},
      {"widest 1-bit row", 0x7FFFFFFF, 2, 1, EIO},
      {"row size past 32 bits", 0x40000001, 3, 24, EIO},
      {"tallest picture", 1, 0x7FFFFFFF, 24, EIO},
      {"tallest picture of width 0", 0, 0x7FFFFFFF, 24, 0},
      {"height 0", 4, 0, 24, 0},
  };
  for (const Extreme& c : cases) {
    SCOPED_TRACE(c.name);
    auto file = write_bmp({.width = 2, .height = 2, .bits = c.bits, .pixels = {1, 2, 3, 4}});
    set_u32(file, 18, static_cast<std::uint32_t>(c.width));
    set_u32(file, 22, static_cast<std::uint32_t>(c.height));
    for (const int depth : {16, 32}) {
      Image image = make_image(4, 4, depth);
      const auto before = all_bytes(image);
      Palette palette{};
      EXPECT_EQ(decode(file, image, palette), c.error);
      // Only rows at the bottom of these pictures are ever complete, far below the image.
      EXPECT_EQ(all_bytes(image), before);
    }
  }
}

}  // namespace
}  // namespace kv
