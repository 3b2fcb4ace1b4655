// Built with -mavx512bw. Only intrinsics and this file's own code may be used
// here: an inline function from a shared header, compiled with these flags,
// could be the copy the linker keeps for the whole program.
#include <immintrin.h>

#include "platform/pixels/kernels.h"

namespace kv::pixels {
namespace {

using Vec = __m512i;

// Mask bits are set for image pixels to skip. The averages and the byte mix
// are worked as in the SSE2 kernels, where the comments say why they are exact.
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

// Per field, a page and image pair of bytes in each 16-bit lane, weighed by
// (32 − a, a) in one multiply-add: p·(32 − a) + i·a, at most 63·32, then >> 5.
Vec mix_565(Vec p, Vec i, Vec weights) {
  const auto mask = [](int bits) { return _mm512_set1_epi16(static_cast<short>(bits)); };
  // The page's field in the low byte, the image's in the high byte.
  const auto pair = [&](Vec page_low, Vec image_high) {
    return _mm512_mask_blend_epi8(_cvtu64_mask64(0xAAAAAAAAAAAAAAAAull), page_low, image_high);
  };
  const auto weigh = [&](Vec pairs) { return _mm512_maddubs_epi16(pairs, weights); };
  const Vec blue =
      _mm512_srli_epi16(weigh(_mm512_and_si512(pair(p, _mm512_slli_epi16(i, 8)), mask(0x1F1F))), 5);
  const Vec green = _mm512_and_si512(
      weigh(_mm512_and_si512(pair(_mm512_srli_epi16(p, 5), _mm512_slli_epi16(i, 3)), mask(0x3F3F))),
      mask(0x07E0));
  // Shifted down, red is all there is in the bytes it takes.
  const Vec red = _mm512_and_si512(
      _mm512_slli_epi16(weigh(pair(_mm512_srli_epi16(p, 11), _mm512_srli_epi16(i, 3))), 6),
      mask(0xF800));
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

// Each pixel is read once into a register: left to itself the compiler folds
// the loads into every instruction that uses them, and the extra reads are
// what limits a kernel this short.
Vec load(const void* at) {
  Vec v = _mm512_loadu_si512(at);
  asm("" : "+v"(v));
  return v;
}

// Row ends use the same step under a lane mask, so nothing falls back to scalar code.
template <typename Format, typename Mix>
void for_rows(const Blit& rows, Mix mix) {
  using Pixel = typename Format::Pixel;
  constexpr int n = Format::per_vector;
  // Copies, since a vector store may alias anything, even `rows`.
  const Blit r = rows;
  for (int y = 0; y < r.height; ++y) {
    auto* d = reinterpret_cast<Pixel*>(r.dst + y * r.dst_stride);
    auto* s = reinterpret_cast<const Pixel*>(r.src + y * r.src_stride);
    int x = 0;
    for (; x + n <= r.width; x += n) {
      const Vec p = load(d + x), i = load(s + x);
      _mm512_storeu_si512(d + x, Format::keep_where(Format::is_mask(i), p, mix(p, i)));
    }
    if (x < r.width) {
      const auto lanes = Format::first(r.width - x);
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
  const Vec av = _mm512_set1_epi16(static_cast<short>(a << 8 | (32 - a)));
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
