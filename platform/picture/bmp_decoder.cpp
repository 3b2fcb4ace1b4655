#include "platform/picture/bmp_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace kv {
namespace {

constexpr std::size_t header_size = 54;
constexpr std::uint32_t info_header_size = 40;

std::uint32_t read_u32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t read_u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// Truncation, no rounding. Magenta and the colours near it (red and blue of 248
// or more, green of 3 or less) come out as the mask word 0xF81F by themselves.
std::uint16_t to_16(unsigned red, unsigned green, unsigned blue) {
  return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}
std::uint32_t to_32(unsigned red, unsigned green, unsigned blue) {
  return 0xFF000000u | red << 16 | green << 8 | blue;
}

template <typename Pixel>
Pixel from_rgb(unsigned red, unsigned green, unsigned blue) {
  if constexpr (sizeof(Pixel) == 2) {
    return to_16(red, green, blue);
  } else {
    return to_32(red, green, blue);
  }
}

// One picture row of `count` pixels into image pixels. Paletted pixels go
// through `lookup`, the palette already converted to the image's format.
template <typename Pixel>
void decode_row(const std::uint8_t* src, unsigned bits, int count, const Pixel* lookup, Pixel* dst) {
  switch (bits) {
    case 1:
      for (int x = 0; x < count; ++x) dst[x] = lookup[(src[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int x = 0; x < count; ++x) dst[x] = lookup[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
      break;
    case 8:
      for (int x = 0; x < count; ++x) dst[x] = lookup[src[x]];
      break;
    case 24:
      for (int x = 0; x < count; ++x, src += 3) dst[x] = from_rgb<Pixel>(src[2], src[1], src[0]);
      break;
    case 32:
      for (int x = 0; x < count; ++x, src += 4) {
        if constexpr (sizeof(Pixel) == 2) {
          dst[x] = to_16(src[2], src[1], src[0]);
        } else {
          dst[x] = read_u32(src);  // the top byte as stored
        }
      }
      break;
  }
}

template <typename Pixel>
void decode_rows(const std::uint8_t* data, std::size_t row_size, unsigned bits, std::int64_t picture_height,
                 std::int64_t first_row, int last_row, int width, const Palette& palette, const PixelView& image) {
  Pixel lookup[256];
  for (int i = 0; i < 256; ++i) lookup[i] = from_rgb<Pixel>(palette[i].red, palette[i].green, palette[i].blue);
  for (std::int64_t r = first_row; r < last_row; ++r) {
    const std::uint8_t* src = data + static_cast<std::size_t>(picture_height - 1 - r) * row_size;
    decode_row(src, bits, width, lookup, reinterpret_cast<Pixel*>(image.row(static_cast<int>(r))));
  }
}

}  // namespace

int decode_bmp(std::span<const std::uint8_t> file, const PixelView& image, Palette& palette) {
  if (file.size() < header_size) return EINVAL;
  const std::uint8_t* header = file.data();
  if (header[0] != 'B' || header[1] != 'M' || read_u32(header + 14) != info_header_size) return EINVAL;

  const std::uint32_t data_offset = read_u32(header + 10);
  const auto width = static_cast<std::int32_t>(read_u32(header + 18));
  const auto height = static_cast<std::int32_t>(read_u32(header + 22));
  const unsigned bits = read_u16(header + 28);
  const std::uint32_t compression = read_u32(header + 30);

  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return ENOTSUP;
  if (compression != 0 || data_offset < header_size) return ENOTSUP;
  // The offset only counts the table's entries: the pixel data follows the table directly.
  const std::size_t entries = (data_offset - header_size) / 4;
  if (entries > palette.size()) return ENOTSUP;
  if (width < 0) return EINVAL;

  const std::span<const std::uint8_t> table = file.subspan(header_size);
  if (table.size() < entries * 4) return EIO;
  for (std::size_t i = 0; i < entries; ++i) palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i]};

  // Rows stored top row first are not loaded.
  if (height < 0) return EINVAL;

  const std::span<const std::uint8_t> data = table.subspan(entries * 4);
  const std::size_t row_size = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  // Rows come bottom row first; only whole rows count as read.
  const std::int64_t rows_read = row_size == 0 ? height : std::min<std::int64_t>(height, data.size() / row_size);
  const int region_width = std::min(image.width, width);
  const int region_height = std::min(image.height, height);
  const std::int64_t first_row = height - rows_read;
  if (region_width > 0 && first_row < region_height) {
    if (image.bytes_per_pixel == 2) {
      decode_rows<std::uint16_t>(data.data(), row_size, bits, height, first_row, region_height, region_width,
                                 palette, image);
    } else {
      decode_rows<std::uint32_t>(data.data(), row_size, bits, height, first_row, region_height, region_width,
                                 palette, image);
    }
  }
  return rows_read < height ? EIO : 0;
}

}  // namespace kv
