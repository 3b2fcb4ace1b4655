#include <algorithm>
#include <cmath>

#include "platform/pixels/blit.h"

namespace kv::pixels {
namespace {
// Far enough off any page that no image reaches it, near enough that
// position + size never overflows.
constexpr float far_off = 1 << 30;
}  // namespace

int round_position(float value) {
  // Written so that NaN fails the test and lands far off too.
  if (!(value > -far_off && value < far_off)) return -static_cast<int>(far_off);
  return static_cast<int>(std::lround(value));
}

Placement place(const PixelView& page, const PixelView& image, int x, int y) {
  Placement where;
  if (image.bytes_per_pixel != page.bytes_per_pixel) return where;
  const long long left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
  const long long right = std::min<long long>(page.width, static_cast<long long>(x) + image.width);
  const long long bottom =
      std::min<long long>(page.height, static_cast<long long>(y) + image.height);
  if (right <= left || bottom <= top) return where;
  where.dst_x = static_cast<int>(left);
  where.dst_y = static_cast<int>(top);
  where.src_x = static_cast<int>(left - x);
  where.src_y = static_cast<int>(top - y);
  where.width = static_cast<int>(right - left);
  where.height = static_cast<int>(bottom - top);
  return where;
}

}  // namespace kv::pixels
