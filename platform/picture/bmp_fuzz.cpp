#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "platform/picture/bmp_decoder.h"
#include "platform/picture/image.h"

namespace {

// Row padding must keep the mask colour: the sanitizers only see writes past
// the allocation, not writes into a row's padding.
void check_padding(const kv::Image& image) {
  const int pixel = image.bytes_per_pixel();
  for (int y = 0; y < image.height(); ++y) {
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(image.width()) * pixel; at < image.stride(); at += pixel) {
      const bool mask = pixel == 2 ? std::memcmp(image.row(y) + at, &kv::mask_colour_16, 2) == 0
                                   : std::memcmp(image.row(y) + at, &kv::mask_colour_32, 4) == 0;
      if (!mask) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The palette persists from input to input, as it does from load to load.
  static kv::Palette palette{};
  static kv::Image odd16 = *kv::Image::create(45, 45, 16);
  static kv::Image odd32 = *kv::Image::create(7, 5, 32);
  const std::span<const std::uint8_t> file(data, size);
  kv::decode_bmp(file, odd16.view(), palette);
  kv::decode_bmp(file, odd32.view(), palette);
  check_padding(odd16);
  check_padding(odd32);
  return 0;
}
