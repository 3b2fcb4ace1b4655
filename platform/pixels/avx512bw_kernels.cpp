// Built with -mavx512bw. Only intrinsics and this file's own code may be used
// here: an inline function from a shared header, compiled with these flags,
// could be the copy the linker keeps for the whole program.
#include <immintrin.h>

#include "platform/pixels/kernels.h"

namespace kv::pixels {
namespace {

using Vec = __m512i;

// Mask bits are set for image pixels to skip. The byte and 5-6-5 arithmetic is
// the same as in the SSE2 and AVX2 kernels; see there for why it is exact.
struct Pixels16 {
  using Pixel = std::uint16_t;
  using Mask = __mmask32;
  static constexpr int per_vector = 32;
  static Mask first(int n) { return _cvtu32_mask32((1u << n) - 1); }
  static Vec load(const Pixel* p, Mask m) { return _mm512_maskz_loadu_epi16(m, p); }
  static void store(Pixel* p, Mask m, Vec v) { _mm512_mask_storeu_epi16(p, m, v); }
  static Mask is_mask(Vec i) {
    return _mm512_cmpeq_epi16_mask(i, _mm512_set1_epi16(static_cast<short>(0xF81F)));
  }
  static Vec keep_where(Mask m, Vec p, Vec out) { return _mm512_mask_blend_epi16(m, out, p); }
};

struct Pixels32 {
  using Pixel = std::uint32_t;
  using Mask = __mmask16;
  static constexpr int per_vector = 16;
  static Mask first(int n) { return _cvtu32_mask16((1u << n) - 1); }
  static Vec load(const Pixel* p, Mask m) { return _mm512_maskz_loadu_epi32(m, p); }
  static void store(Pixel* p, Mask m, Vec v) { _mm512_mask_storeu_epi32(p, m, v); }
  static Mask is_mask(Vec i) {
    return _mm512_cmpeq_epi32_mask(_mm512_and_si512(i, _mm512_set1_epi32(0xFFFFFF)),
                                   _mm512_set1_epi32(0xFF00FF));
  }
  static Vec keep_where(Mask m, Vec p, Vec out) { return _mm512_mask_blend_epi32(m, out, p); }
};

Vec average_565(Vec p, Vec i) {
  const Vec half = _mm512_srli_epi16(
      _mm512_and_si512(_mm512_xor_si512(p, i), _mm512_set1_epi16(static_cast<short>(0xF7DE))), 1);
  return _mm512_add_epi16(_mm512_and_si512(p, i), half);
}

Vec average_bytes(Vec p, Vec i) {
  return _mm512_sub_epi8(_mm512_avg_epu8(p, i),
                         _mm512_and_si512(_mm512_xor_si512(p, i), _mm512_set1_epi8(1)));
}

Vec mix_565(Vec p, Vec i, Vec a) {
  const Vec blue_mask = _mm512_set1_epi16(0x001F), green_mask = _mm512_set1_epi16(0x07E0);
  const Vec pb = _mm512_and_si512(p, blue_mask), ib = _mm512_and_si512(i, blue_mask);
  const Vec blue = _mm512_srli_epi16(
      _mm512_add_epi16(_mm512_slli_epi16(pb, 5), _mm512_mullo_epi16(_mm512_sub_epi16(ib, pb), a)),
      5);
  const Vec pg = _mm512_and_si512(p, green_mask), ig = _mm512_and_si512(i, green_mask);
  const Vec green = _mm512_and_si512(
      _mm512_srli_epi16(_mm512_add_epi16(_mm512_slli_epi16(pg, 5),
                                         _mm512_mullo_epi16(_mm512_sub_epi16(ig, pg), a)),
                        5),
      green_mask);
  const Vec pr = _mm512_srli_epi16(p, 11), ir = _mm512_srli_epi16(i, 11);
  const Vec red = _mm512_and_si512(
      _mm512_slli_epi16(_mm512_add_epi16(_mm512_slli_epi16(pr, 5),
                                         _mm512_mullo_epi16(_mm512_sub_epi16(ir, pr), a)),
                        6),
      _mm512_set1_epi16(static_cast<short>(0xF800)));
  return _mm512_or_si512(_mm512_or_si512(red, green), blue);
}

Vec mix_bytes(Vec p, Vec i, Vec a) {
  const Vec low = _mm512_set1_epi16(0x00FF), high = _mm512_set1_epi16(static_cast<short>(0xFF00));
  const Vec pe = _mm512_and_si512(p, low), ie = _mm512_and_si512(i, low);
  const Vec even = _mm512_srli_epi16(
      _mm512_add_epi16(_mm512_slli_epi16(p, 8), _mm512_mullo_epi16(_mm512_sub_epi16(ie, pe), a)),
      8);
  const Vec po = _mm512_srli_epi16(p, 8), io = _mm512_srli_epi16(i, 8);
  const Vec odd = _mm512_and_si512(
      _mm512_add_epi16(_mm512_and_si512(p, high), _mm512_mullo_epi16(_mm512_sub_epi16(io, po), a)),
      high);
  return _mm512_or_si512(even, odd);
}

// Row ends use the same step under a lane mask, so nothing falls back to scalar code.
template <typename Format, typename Mix>
void for_rows(const Blit& rows, Mix mix) {
  using Pixel = typename Format::Pixel;
  constexpr int n = Format::per_vector;
  for (int y = 0; y < rows.height; ++y) {
    auto* d = reinterpret_cast<Pixel*>(rows.dst + y * rows.dst_stride);
    auto* s = reinterpret_cast<const Pixel*>(rows.src + y * rows.src_stride);
    int x = 0;
    for (; x + n <= rows.width; x += n) {
      const Vec p = _mm512_loadu_si512(d + x), i = _mm512_loadu_si512(s + x);
      _mm512_storeu_si512(d + x, Format::keep_where(Format::is_mask(i), p, mix(p, i)));
    }
    if (x < rows.width) {
      const auto lanes = Format::first(rows.width - x);
      const Vec p = Format::load(d + x, lanes), i = Format::load(s + x, lanes);
      Format::store(d + x, lanes, Format::keep_where(Format::is_mask(i), p, mix(p, i)));
    }
  }
}

const auto copy = [](Vec, Vec i) { return i; };

void keyed_16(const Blit& rows) { for_rows<Pixels16>(rows, copy); }
void keyed_32(const Blit& rows) { for_rows<Pixels32>(rows, copy); }

void blend_16(const Blit& rows, int weight) {
  const int a = (weight + 7) >> 3;
  if (a == 0) return;
  if (a == 32) return keyed_16(rows);
  if (a == 16) return for_rows<Pixels16>(rows, average_565);
  const Vec av = _mm512_set1_epi16(static_cast<short>(a));
  for_rows<Pixels16>(rows, [av](Vec p, Vec i) { return mix_565(p, i, av); });
}

void blend_32(const Blit& rows, int weight) {
  if (weight == 0) return;
  if (weight == 255) return keyed_32(rows);
  if (weight == 127) return for_rows<Pixels32>(rows, average_bytes);
  const Vec av = _mm512_set1_epi16(static_cast<short>(weight + 1));
  for_rows<Pixels32>(rows, [av](Vec p, Vec i) { return mix_bytes(p, i, av); });
}

}  // namespace

const Kernels avx512bw_kernels = {blend_16, blend_32, keyed_16, keyed_32};

}  // namespace kv::pixels
