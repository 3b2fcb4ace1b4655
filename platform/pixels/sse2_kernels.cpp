// SSE2 is the x86-64 baseline: this file needs no extra compiler flags.
#include <emmintrin.h>

#include "platform/pixels/kernels.h"
#include "platform/pixels/reference_kernels.h"

namespace kv::pixels {
namespace {

using Vec = __m128i;

Vec load(const void* p) { return _mm_loadu_si128(static_cast<const Vec*>(p)); }
void store(void* p, Vec v) { _mm_storeu_si128(static_cast<Vec*>(p), v); }

Vec select(Vec mask, Vec when_set, Vec otherwise) {
  return _mm_or_si128(_mm_and_si128(mask, when_set), _mm_andnot_si128(mask, otherwise));
}

Vec is_mask_16(Vec i) { return _mm_cmpeq_epi16(i, _mm_set1_epi16(static_cast<short>(0xF81F))); }
Vec is_mask_32(Vec i) {
  return _mm_cmpeq_epi32(_mm_and_si128(i, _mm_set1_epi32(0xFFFFFF)), _mm_set1_epi32(0xFF00FF));
}

// floor((p + i) / 2) per 5-6-5 field: clearing each field's low bit (0xF7DE)
// before the shift keeps a bit from crossing into the field below.
Vec average_565(Vec p, Vec i) {
  const Vec half = _mm_srli_epi16(
      _mm_and_si128(_mm_xor_si128(p, i), _mm_set1_epi16(static_cast<short>(0xF7DE))), 1);
  return _mm_add_epi16(_mm_and_si128(p, i), half);
}

// pavgb rounds up; taking away the dropped low bit turns it into the floor.
Vec average_bytes(Vec p, Vec i) {
  return _mm_sub_epi8(_mm_avg_epu8(p, i), _mm_and_si128(_mm_xor_si128(p, i), _mm_set1_epi8(1)));
}

// Per field: (p·32 + (i − p)·a) >> 5 is exact in 16-bit lanes even though
// (i − p)·a wraps, since the true sum fits them (green is worked at its place,
// times 32, and still fits).
Vec mix_565(Vec p, Vec i, Vec a) {
  const Vec blue_mask = _mm_set1_epi16(0x001F), green_mask = _mm_set1_epi16(0x07E0);
  const Vec pb = _mm_and_si128(p, blue_mask), ib = _mm_and_si128(i, blue_mask);
  const Vec blue = _mm_srli_epi16(
      _mm_add_epi16(_mm_slli_epi16(pb, 5), _mm_mullo_epi16(_mm_sub_epi16(ib, pb), a)), 5);
  const Vec pg = _mm_and_si128(p, green_mask), ig = _mm_and_si128(i, green_mask);
  const Vec green = _mm_and_si128(
      _mm_srli_epi16(
          _mm_add_epi16(_mm_slli_epi16(pg, 5), _mm_mullo_epi16(_mm_sub_epi16(ig, pg), a)), 5),
      green_mask);
  const Vec pr = _mm_srli_epi16(p, 11), ir = _mm_srli_epi16(i, 11);
  const Vec red = _mm_and_si128(
      _mm_slli_epi16(
          _mm_add_epi16(_mm_slli_epi16(pr, 5), _mm_mullo_epi16(_mm_sub_epi16(ir, pr), a)), 6),
      _mm_set1_epi16(static_cast<short>(0xF800)));
  return _mm_or_si128(_mm_or_si128(red, green), blue);
}

// Even and odd bytes in 16-bit lanes: (p·256 + (i − p)·a) >> 8, exact as above.
Vec mix_bytes(Vec p, Vec i, Vec a) {
  const Vec low = _mm_set1_epi16(0x00FF);
  const Vec pe = _mm_and_si128(p, low), ie = _mm_and_si128(i, low);
  const Vec even = _mm_srli_epi16(
      _mm_add_epi16(_mm_slli_epi16(p, 8), _mm_mullo_epi16(_mm_sub_epi16(ie, pe), a)), 8);
  const Vec po = _mm_srli_epi16(p, 8), io = _mm_srli_epi16(i, 8);
  const Vec odd = _mm_andnot_si128(
      low, _mm_add_epi16(_mm_andnot_si128(low, p), _mm_mullo_epi16(_mm_sub_epi16(io, po), a)));
  return _mm_or_si128(even, odd);
}

Vec weights_565(int a) { return _mm_set1_epi16(static_cast<short>(a)); }
Vec weights_bytes(int weight) { return _mm_set1_epi16(static_cast<short>(weight + 1)); }

#include "platform/pixels/vector_rows.inc"

}  // namespace

const Kernels sse2_kernels = {blend_16, blend_32, keyed_16, keyed_32};

}  // namespace kv::pixels
