#include "platform/pixels/reference_kernels.h"

#include "platform/pixel_view.h"
#include "platform/pixels/kernels.h"

namespace kv::pixels {
namespace {

// p + floor((i - p) * a / 2^shift) for one channel. Since C++20 `>>` on a
// negative value is an arithmetic shift, which is the floor the rule asks for.
unsigned mix(unsigned p, unsigned i, int a, int shift) {
  const int pv = static_cast<int>(p);
  return static_cast<unsigned>(pv + (((static_cast<int>(i) - pv) * a) >> shift));
}

unsigned mix_field(unsigned p, unsigned i, int a, int position, unsigned field_mask) {
  return mix((p >> position) & field_mask, (i >> position) & field_mask, a, 5) << position;
}

template <typename Pixel, typename Row>
void for_rows(const Blit& rows, Row row) {
  for (int y = 0; y < rows.height; ++y) {
    row(reinterpret_cast<Pixel*>(rows.dst + y * rows.dst_stride),
        reinterpret_cast<const Pixel*>(rows.src + y * rows.src_stride));
  }
}

}  // namespace

void blend_row_16(std::uint16_t* dst, const std::uint16_t* src, int count, int weight) {
  if (weight == 0) return;
  const int a = (weight + 7) >> 3;
  for (int x = 0; x < count; ++x) {
    const unsigned i = src[x];
    if (is_mask_16(static_cast<std::uint16_t>(i))) continue;
    const unsigned p = dst[x];
    dst[x] = static_cast<std::uint16_t>(mix_field(p, i, a, 11, 0x1F) | mix_field(p, i, a, 5, 0x3F) |
                                        mix_field(p, i, a, 0, 0x1F));
  }
}

// The top byte is mixed like the colour bytes; it is never shown.
void blend_row_32(std::uint32_t* dst, const std::uint32_t* src, int count, int weight) {
  if (weight == 0) return;
  const int a = weight + 1;
  for (int x = 0; x < count; ++x) {
    const std::uint32_t i = src[x];
    if (is_mask_32(i)) continue;
    const std::uint32_t p = dst[x];
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      out |= mix((p >> shift) & 0xFF, (i >> shift) & 0xFF, a, 8) << shift;
    }
    dst[x] = out;
  }
}

void keyed_row_16(std::uint16_t* dst, const std::uint16_t* src, int count) {
  for (int x = 0; x < count; ++x) {
    if (!is_mask_16(src[x])) dst[x] = src[x];
  }
}

void keyed_row_32(std::uint32_t* dst, const std::uint32_t* src, int count) {
  for (int x = 0; x < count; ++x) {
    if (!is_mask_32(src[x])) dst[x] = src[x];
  }
}

const Kernels reference_kernels = {
    [](const Blit& rows, int weight) {
      for_rows<std::uint16_t>(rows,
                              [&](auto* d, auto* s) { blend_row_16(d, s, rows.width, weight); });
    },
    [](const Blit& rows, int weight) {
      for_rows<std::uint32_t>(rows,
                              [&](auto* d, auto* s) { blend_row_32(d, s, rows.width, weight); });
    },
    [](const Blit& rows) {
      for_rows<std::uint16_t>(rows, [&](auto* d, auto* s) { keyed_row_16(d, s, rows.width); });
    },
    [](const Blit& rows) {
      for_rows<std::uint32_t>(rows, [&](auto* d, auto* s) { keyed_row_32(d, s, rows.width); });
    },
};

}  // namespace kv::pixels
