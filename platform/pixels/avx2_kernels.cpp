// Built with -mavx2. Only intrinsics, this file's own code and the row loops
// it includes may be used here: an inline function from a shared header,
// compiled with these flags, could be the copy the linker keeps for the whole
// program.
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
// (32 − a, a) in one multiply-add: p·(32 − a) + i·a, then >> 5. Interleaving
// the page's and the image's bytes pairs blue in the low bytes and red in the
// high bytes at once, and packing the lanes back puts them where they were.
Vec mix_565(Vec p, Vec i, Vec weights) {
  const auto mask = [](int bits) { return _mm256_set1_epi16(static_cast<short>(bits)); };
  const auto weigh = [&](Vec pairs) { return _mm256_maddubs_epi16(pairs, weights); };
  // Red is left in the top of its byte, so its sum comes out 8 times over:
  // at most 248 once shifted, which the pack keeps whole, with red's result
  // in the top five bits and a fraction below them, cleared afterwards.
  const Vec red_blue_fields = _mm256_set1_epi32(static_cast<int>(0xF8F81F1F));
  const auto red_blue = [&](Vec pairs) {
    return _mm256_srli_epi16(weigh(_mm256_and_si256(pairs, red_blue_fields)), 5);
  };
  const Vec rb = _mm256_and_si256(_mm256_packus_epi16(red_blue(_mm256_unpacklo_epi8(p, i)),
                                                      red_blue(_mm256_unpackhi_epi8(p, i))),
                                  mask(0xF81F));
  // Green straddles the bytes, so it is moved into its own: the page's down
  // to the low byte, the image's up to the high one.
  const Vec green_pairs = _mm256_and_si256(
      _mm256_blendv_epi8(_mm256_srli_epi16(p, 5), _mm256_slli_epi16(i, 3), mask(0xFF00)),
      mask(0x3F3F));
  return _mm256_or_si256(rb, _mm256_and_si256(weigh(green_pairs), mask(0x07E0)));
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

// The page's weight in the low byte, the image's in the high byte, as mix_565 pairs them.
Vec weights_565(int a) { return _mm256_set1_epi16(static_cast<short>(a << 8 | (32 - a))); }
Vec weights_bytes(int weight) { return _mm256_set1_epi16(static_cast<short>(weight + 1)); }

#include "platform/pixels/vector_rows.inc"

}  // namespace

const Kernels avx2_kernels = {blend_16, blend_32, keyed_16, keyed_32};

}  // namespace kv::pixels
