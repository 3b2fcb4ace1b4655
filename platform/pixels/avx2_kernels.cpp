// Built with -mavx2. Only intrinsics and this file's own code may be used
// here: an inline function from a shared header, compiled with these flags,
// could be the copy the linker keeps for the whole program.
#include <immintrin.h>

#include "platform/pixels/kernels.h"
#include "platform/pixels/reference_kernels.h"

namespace kv::pixels {
namespace {

using Vec = __m256i;

// Each pixel is read once into a register: left to itself the compiler folds
// the loads into every instruction that uses them, and the extra reads are
// what limits a kernel this short.
Vec load(const void* p) {
  Vec v = _mm256_loadu_si256(static_cast<const Vec*>(p));
  asm("" : "+x"(v));
  return v;
}
void store(void* p, Vec v) { _mm256_storeu_si256(static_cast<Vec*>(p), v); }

Vec select(Vec mask, Vec when_set, Vec otherwise) {
  return _mm256_blendv_epi8(otherwise, when_set, mask);
}

Vec is_mask_16(Vec i) {
  return _mm256_cmpeq_epi16(i, _mm256_set1_epi16(static_cast<short>(0xF81F)));
}
Vec is_mask_32(Vec i) {
  return _mm256_cmpeq_epi32(_mm256_and_si256(i, _mm256_set1_epi32(0xFFFFFF)),
                            _mm256_set1_epi32(0xFF00FF));
}

// floor((p + i) / 2) per 5-6-5 field: clearing each field's low bit (0xF7DE)
// before the shift keeps a bit from crossing into the field below.
Vec average_565(Vec p, Vec i) {
  const Vec half = _mm256_srli_epi16(
      _mm256_and_si256(_mm256_xor_si256(p, i), _mm256_set1_epi16(static_cast<short>(0xF7DE))), 1);
  return _mm256_add_epi16(_mm256_and_si256(p, i), half);
}

// pavgb rounds up; taking away the dropped low bit turns it into the floor.
Vec average_bytes(Vec p, Vec i) {
  return _mm256_sub_epi8(_mm256_avg_epu8(p, i),
                         _mm256_and_si256(_mm256_xor_si256(p, i), _mm256_set1_epi8(1)));
}

// Per field, a page and image pair of bytes in each 16-bit lane, weighed by
// (32 − a, a) in one multiply-add: p·(32 − a) + i·a, at most 63·32, then >> 5.
Vec mix_565(Vec p, Vec i, Vec weights) {
  const auto mask = [](int bits) { return _mm256_set1_epi16(static_cast<short>(bits)); };
  // The page's field in the low byte, the image's in the high byte.
  const auto pair = [&](Vec page_low, Vec image_high) {
    return _mm256_blendv_epi8(page_low, image_high, mask(0xFF00));
  };
  const auto weigh = [&](Vec pairs) { return _mm256_maddubs_epi16(pairs, weights); };
  const Vec blue =
      _mm256_srli_epi16(weigh(_mm256_and_si256(pair(p, _mm256_slli_epi16(i, 8)), mask(0x1F1F))), 5);
  const Vec green = _mm256_and_si256(
      weigh(_mm256_and_si256(pair(_mm256_srli_epi16(p, 5), _mm256_slli_epi16(i, 3)), mask(0x3F3F))),
      mask(0x07E0));
  // Shifted down, red is all there is in the bytes it takes.
  const Vec red = _mm256_and_si256(
      _mm256_slli_epi16(weigh(pair(_mm256_srli_epi16(p, 11), _mm256_srli_epi16(i, 3))), 6),
      mask(0xF800));
  return _mm256_or_si256(_mm256_or_si256(red, green), blue);
}

// Even and odd bytes in 16-bit lanes: (p·256 + (i − p)·a) >> 8 is exact even
// though (i − p)·a wraps, since the true sum fits the lanes.
Vec mix_bytes(Vec p, Vec i, Vec a) {
  const Vec low = _mm256_set1_epi16(0x00FF);
  const Vec pe = _mm256_and_si256(p, low), ie = _mm256_and_si256(i, low);
  const Vec even = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_slli_epi16(p, 8), _mm256_mullo_epi16(_mm256_sub_epi16(ie, pe), a)),
      8);
  const Vec po = _mm256_srli_epi16(p, 8), io = _mm256_srli_epi16(i, 8);
  const Vec odd =
      _mm256_andnot_si256(low, _mm256_add_epi16(_mm256_andnot_si256(low, p),
                                                _mm256_mullo_epi16(_mm256_sub_epi16(io, po), a)));
  return _mm256_or_si256(even, odd);
}

template <typename Pixel, typename Step, typename Tail>
void for_rows(const Blit& rows, Step step, Tail tail) {
  constexpr int per_vector = sizeof(Vec) / sizeof(Pixel);
  // Copies, since a vector store may alias anything, even `rows`.
  const Blit r = rows;
  for (int y = 0; y < r.height; ++y) {
    auto* d = reinterpret_cast<Pixel*>(r.dst + y * r.dst_stride);
    auto* s = reinterpret_cast<const Pixel*>(r.src + y * r.src_stride);
    int x = 0;
    for (; x + per_vector <= r.width; x += per_vector) store(d + x, step(load(d + x), load(s + x)));
    tail(d + x, s + x, r.width - x);
  }
}

void keyed_16(const Blit& rows) {
  for_rows<std::uint16_t>(
      rows, [](Vec p, Vec i) { return select(is_mask_16(i), p, i); }, keyed_row_16);
}

void keyed_32(const Blit& rows) {
  for_rows<std::uint32_t>(
      rows, [](Vec p, Vec i) { return select(is_mask_32(i), p, i); }, keyed_row_32);
}

void blend_16(const Blit& rows, int weight) {
  const int a = (weight + 7) >> 3;
  const auto tail = [weight](std::uint16_t* d, const std::uint16_t* s, int n) {
    blend_row_16(d, s, n, weight);
  };
  if (a == 0) return;
  if (a == 32) return keyed_16(rows);
  if (a == 16) {
    return for_rows<std::uint16_t>(
        rows, [](Vec p, Vec i) { return select(is_mask_16(i), p, average_565(p, i)); }, tail);
  }
  const Vec av = _mm256_set1_epi16(static_cast<short>(a << 8 | (32 - a)));
  for_rows<std::uint16_t>(
      rows, [av](Vec p, Vec i) { return select(is_mask_16(i), p, mix_565(p, i, av)); }, tail);
}

void blend_32(const Blit& rows, int weight) {
  const auto tail = [weight](std::uint32_t* d, const std::uint32_t* s, int n) {
    blend_row_32(d, s, n, weight);
  };
  if (weight == 0) return;
  if (weight == 255) return keyed_32(rows);
  if (weight == 127) {
    return for_rows<std::uint32_t>(
        rows, [](Vec p, Vec i) { return select(is_mask_32(i), p, average_bytes(p, i)); }, tail);
  }
  const Vec av = _mm256_set1_epi16(static_cast<short>(weight + 1));
  for_rows<std::uint32_t>(
      rows, [av](Vec p, Vec i) { return select(is_mask_32(i), p, mix_bytes(p, i, av)); }, tail);
}

}  // namespace

const Kernels avx2_kernels = {blend_16, blend_32, keyed_16, keyed_32};

}  // namespace kv::pixels
