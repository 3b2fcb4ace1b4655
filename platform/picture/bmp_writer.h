#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

// Writes BMP file bytes. The picture generator uses it for the game's
// pictures; the tests, the benchmark and the fuzz seeds use it to build
// pictures of every kind, malformed ones included, instead of binary fixtures.
namespace kv {

struct BmpPicture {
  int width = 0;
  int height = 0;  // negative: rows stored top row first
  int bits = 24;
  // Colour table entries as 0x00RRGGBB, written blue, green, red, reserved.
  std::vector<std::uint32_t> table = {};
  // One value per pixel, top row first: a table index for 1, 4 and 8 bits,
  // 0xRRGGBB for 24 bits and 0xAARRGGBB for 32 bits. Missing values are 0;
  // bit counts other than 1, 2, 4 and multiples of 8 get rows of zeros.
  std::vector<std::uint32_t> pixels = {};

  // Header fields, for malformed pictures.
  char signature[2] = {'B', 'M'};
  std::uint32_t info_size = 40;
  std::uint32_t compression = 0;
  std::int64_t data_offset = -1;  // -1: 54 + 4 × table entries
};

inline std::vector<std::uint8_t> write_bmp(const BmpPicture& picture) {
  std::vector<std::uint8_t> bytes;
  const auto put16 = [&](std::uint32_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFFu);
    put16(v >> 16);
  };

  const int rows = std::abs(picture.height);
  const std::size_t row_size =
      (static_cast<std::size_t>(picture.width) * static_cast<unsigned>(picture.bits) + 31) / 32 * 4;
  const std::uint32_t offset =
      picture.data_offset >= 0 ? static_cast<std::uint32_t>(picture.data_offset)
                               : static_cast<std::uint32_t>(54 + 4 * picture.table.size());

  bytes.push_back(static_cast<std::uint8_t>(picture.signature[0]));
  bytes.push_back(static_cast<std::uint8_t>(picture.signature[1]));
  put32(static_cast<std::uint32_t>(54 + 4 * picture.table.size() + row_size * rows));
  put32(0);
  put32(offset);
  put32(picture.info_size);
  put32(static_cast<std::uint32_t>(picture.width));
  put32(static_cast<std::uint32_t>(picture.height));
  put16(1);
  put16(static_cast<std::uint32_t>(picture.bits));
  put32(picture.compression);
  put32(static_cast<std::uint32_t>(row_size * rows));
  put32(2835);
  put32(2835);
  put32(static_cast<std::uint32_t>(picture.table.size()));
  put32(0);
  for (const std::uint32_t colour : picture.table) put32(colour & 0xFFFFFFu);

  for (int i = 0; i < rows; ++i) {
    const int y = picture.height < 0 ? i : rows - 1 - i;
    std::vector<std::uint8_t> row(row_size, 0);
    for (int x = 0; x < picture.width; ++x) {
      const std::size_t index = static_cast<std::size_t>(y) * picture.width + x;
      const std::uint32_t value = index < picture.pixels.size() ? picture.pixels[index] : 0;
      if (picture.bits == 1 || picture.bits == 2 || picture.bits == 4) {
        const int bit = x * picture.bits;
        const int shift = 8 - picture.bits - bit % 8;
        row[bit / 8] |= static_cast<std::uint8_t>(value << shift);
      } else if (picture.bits % 8 == 0) {
        for (int b = 0; b < picture.bits / 8; ++b)
          row[x * (picture.bits / 8) + b] = static_cast<std::uint8_t>(value >> (8 * b));
      }
    }
    bytes.insert(bytes.end(), row.begin(), row.end());
  }
  return bytes;
}

}  // namespace kv
