#include "platform/picture/image.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/error.h"

namespace kv {

void Image::FreeAligned::operator()(std::uint8_t* p) const { std::free(p); }

std::optional<Image> Image::create(int width, int height, int depth) {
  if (width <= 0 || height <= 0 || (depth != 16 && depth != 32)) {
    set_error(EINVAL);
    return std::nullopt;
  }
  const int bytes_per_pixel = depth / 8;
  const std::size_t stride = (static_cast<std::size_t>(width) * bytes_per_pixel + 15) / 16 * 16;
  if (stride > static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max()) / height) {
    set_error(ENOMEM);
    return std::nullopt;
  }
  // 64-byte alignment lets the pixel kernels use aligned rows at every vector width.
  const std::size_t bytes = (stride * height + 63) / 64 * 64;
  auto* memory = static_cast<std::uint8_t*>(std::aligned_alloc(64, bytes));
  if (memory == nullptr) {
    set_error(ENOMEM);
    return std::nullopt;
  }
  if (bytes_per_pixel == 2) {
    auto* words = reinterpret_cast<std::uint16_t*>(memory);
    for (std::size_t i = 0; i < bytes / 2; ++i) words[i] = mask_colour_16;
  } else {
    auto* words = reinterpret_cast<std::uint32_t*>(memory);
    for (std::size_t i = 0; i < bytes / 4; ++i) words[i] = mask_colour_32;
  }
  return Image(width, height, bytes_per_pixel, static_cast<std::ptrdiff_t>(stride),
               std::unique_ptr<std::uint8_t[], FreeAligned>(memory));
}

}  // namespace kv
