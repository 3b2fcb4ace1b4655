#include "platform/pixels/kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kv::pixels {
namespace {

// Pixels with a row stride wider than the rows, so a kernel that ignores the
// stride or writes past a row's end is caught.
template <typename Pixel>
struct Buffer {
  int width, height, stride_pixels;
  std::vector<Pixel> pixels;
  Buffer(int w, int h) : width(w), height(h), stride_pixels(w + 7), pixels(stride_pixels * h) {}
  Pixel& at(int x, int y) { return pixels[y * stride_pixels + x]; }
  std::uint8_t* bytes(int x, int y) { return reinterpret_cast<std::uint8_t*>(&at(x, y)); }
  std::ptrdiff_t stride() const { return stride_pixels * sizeof(Pixel); }
};

template <typename Pixel>
Blit rect(Buffer<Pixel>& page, int x, int y, Buffer<Pixel>& image, int ix, int iy, int width,
          int height) {
  return {page.bytes(x, y), page.stride(), image.bytes(ix, iy), image.stride(), width, height};
}

template <typename Pixel>
Blit whole(Buffer<Pixel>& page, Buffer<Pixel>& image) {
  return rect(page, 0, 0, image, 0, 0, image.width, image.height);
}

class KernelsTest : public testing::TestWithParam<Isa> {
 protected:
  void SetUp() override {
    fast = kernels_for(GetParam());
    if (fast == nullptr) GTEST_SKIP() << "processor lacks " << isa_name(GetParam());
  }

  // Runs `draw` with the reference table and with the one under test on copies
  // of the same page, then compares every word, row padding included.
  template <typename Pixel, typename Draw>
  void expect_same(const Buffer<Pixel>& start, Draw draw, const char* what) {
    Buffer<Pixel> expected = start, actual = start;
    draw(reference_kernels, expected);
    draw(*fast, actual);
    for (std::size_t k = 0; k < actual.pixels.size(); ++k) {
      if (actual.pixels[k] != expected.pixels[k]) {
        ADD_FAILURE() << what << ": word " << k << " is " << std::hex << +actual.pixels[k]
                      << ", reference gives " << +expected.pixels[k] << ", was "
                      << +start.pixels[k];
        return;
      }
    }
  }

  const Kernels* fast = nullptr;
};

// Every pair of byte values, in all four byte positions at once, at every weight.
TEST_P(KernelsTest, BlendAt32BitsMatchesReferenceForEveryBytePair) {
  Buffer<std::uint32_t> page(256, 256), image(256, 256);
  for (int p = 0; p < 256; ++p) {
    for (int i = 0; i < 256; ++i) {
      page.at(i, p) = 0x01010101u * p;
      image.at(i, p) = 0x01010101u * i;
    }
  }
  for (int weight = 0; weight < 256; ++weight) {
    SCOPED_TRACE(weight);
    expect_same(
        page, [&](const Kernels& k, auto& to) { k.blend_32(whole(to, image), weight); }, "blend");
  }
}

// Every pair of values of each 5-6-5 field, at every weight.
TEST_P(KernelsTest, BlendAt16BitsMatchesReferenceForEveryFieldPair) {
  Buffer<std::uint16_t> page(64, 64), image(64, 64);
  for (int k = 0; k < 4096; ++k) {
    const int low = k & 31, high = (k >> 5) & 31, g_page = k >> 6, g_image = k & 63;
    // Red and blue take their pairs in opposite roles, so no image word is the mask colour.
    page.at(k % 64, k / 64) = static_cast<std::uint16_t>(high << 11 | g_page << 5 | low);
    image.at(k % 64, k / 64) = static_cast<std::uint16_t>(low << 11 | g_image << 5 | high);
  }
  for (int weight = 0; weight < 256; ++weight) {
    SCOPED_TRACE(weight);
    expect_same(
        page, [&](const Kernels& k, auto& to) { k.blend_16(whole(to, image), weight); }, "blend");
  }
}

template <typename Pixel>
Buffer<Pixel> random_pixels(int width, int height, std::mt19937& random, Pixel mask) {
  Buffer<Pixel> buffer(width, height);
  for (Pixel& pixel : buffer.pixels) {
    pixel = static_cast<Pixel>(random());
    // About 5 % mask pixels; at 32 bits their top byte is anything.
    if (random() % 20 == 0) pixel = static_cast<Pixel>((random() & 0xFF000000u) | mask);
  }
  return buffer;
}

// Whole random pages with mask pixels, then rectangles of every width from 1
// to 70 at odd places, so each vector kernel's row ends are covered.
TEST_P(KernelsTest, RandomPagesWithMaskPixelsMatchReference) {
  std::mt19937 random(5);
  auto page16 = random_pixels<std::uint16_t>(800, 600, random, 0xF81F);
  auto image16 = random_pixels<std::uint16_t>(800, 600, random, 0xF81F);
  auto page32 = random_pixels<std::uint32_t>(800, 600, random, 0xFF00FF);
  auto image32 = random_pixels<std::uint32_t>(800, 600, random, 0xFF00FF);

  std::vector<int> weights = {0, 1, 127, 128, 200, 255};
  for (int n = 0; n < 4; ++n) weights.push_back(static_cast<int>(random() % 256));
  for (int weight : weights) {
    SCOPED_TRACE(weight);
    expect_same(
        page16, [&](const Kernels& k, auto& to) { k.blend_16(whole(to, image16), weight); },
        "blend 16");
    expect_same(
        page32, [&](const Kernels& k, auto& to) { k.blend_32(whole(to, image32), weight); },
        "blend 32");
  }
  expect_same(
      page16, [&](const Kernels& k, auto& to) { k.keyed_16(whole(to, image16)); }, "keyed 16");
  expect_same(
      page32, [&](const Kernels& k, auto& to) { k.keyed_32(whole(to, image32)); }, "keyed 32");

  // A small page, so the many comparisons stay quick.
  page16 = random_pixels<std::uint16_t>(128, 8, random, 0xF81F);
  page32 = random_pixels<std::uint32_t>(128, 8, random, 0xFF00FF);
  for (int width = 1; width <= 70; ++width) {
    SCOPED_TRACE(width);
    const int x = static_cast<int>(random() % 50), y = static_cast<int>(random() % 3);
    const int weight = static_cast<int>(random() % 256);
    const auto at = [&](auto& to, auto& image) { return rect(to, x, y, image, 3, 1, width, 5); };
    expect_same(
        page16, [&](const Kernels& k, auto& to) { k.blend_16(at(to, image16), weight); },
        "clipped blend 16");
    expect_same(
        page32, [&](const Kernels& k, auto& to) { k.blend_32(at(to, image32), weight); },
        "clipped blend 32");
    expect_same(
        page16, [&](const Kernels& k, auto& to) { k.keyed_16(at(to, image16)); },
        "clipped keyed 16");
    expect_same(
        page32, [&](const Kernels& k, auto& to) { k.keyed_32(at(to, image32)); },
        "clipped keyed 32");
  }
}

INSTANTIATE_TEST_SUITE_P(EveryIsa, KernelsTest,
                         testing::Values(Isa::sse2, Isa::avx2, Isa::avx512bw),
                         [](const auto& info) { return std::string(isa_name(info.param)); });

}  // namespace
}  // namespace kv::pixels
