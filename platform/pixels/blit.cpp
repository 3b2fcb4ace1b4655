#include "platform/pixels/blit.h"

#include <algorithm>

#include "platform/pixels/kernels.h"

namespace kv::pixels {
namespace {

Blit rows_of(const PixelView& page, const PixelView& image, const Placement& where) {
  const int bpp = page.bytes_per_pixel;
  return {page.row(where.dst_y) + where.dst_x * bpp,
          page.stride,
          image.row(where.src_y) + where.src_x * bpp,
          image.stride,
          where.width,
          where.height};
}

}  // namespace

void blend_copy(const PixelView& page, const PixelView& image, const Placement& where, int weight) {
  if (where.empty()) return;
  const int w = std::clamp(weight, 0, 255);
  const Kernels& k = active_kernels();
  (page.bytes_per_pixel == 2 ? k.blend_16 : k.blend_32)(rows_of(page, image, where), w);
}

void keyed_copy(const PixelView& page, const PixelView& image, const Placement& where) {
  if (where.empty()) return;
  const Kernels& k = active_kernels();
  (page.bytes_per_pixel == 2 ? k.keyed_16 : k.keyed_32)(rows_of(page, image, where));
}

}  // namespace kv::pixels
