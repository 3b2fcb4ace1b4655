#include <benchmark/benchmark.h>

#include <vector>

#include "platform/picture/bmp_decoder.h"
#include "platform/picture/bmp_writer.h"
#include "platform/picture/image.h"

namespace {

std::vector<std::uint8_t> picture_file(int width, int height) {
  kv::BmpPicture picture{.width = width, .height = height, .bits = 24};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.pixels.push_back(static_cast<std::uint32_t>(x * 7 ^ y * 13) & 0xFFFFFF);
  return kv::write_bmp(picture);
}

// The 24-bit menu picture (800 × 600) and cursor picture (48 × 48), decoded
// from memory into an image of their size at the given depth.
void BM_DecodePicture(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const auto file = picture_file(width, height);
  auto image = *kv::Image::create(width, height, static_cast<int>(state.range(2)));
  kv::Palette palette{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(kv::decode_bmp(file, image.view(), palette));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * file.size());
}
BENCHMARK(BM_DecodePicture)
    ->ArgNames({"width", "height", "depth"})
    ->Args({800, 600, 16})
    ->Args({800, 600, 32})
    ->Args({48, 48, 16})
    ->Args({48, 48, 32})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
