#pragma once

#include <cstddef>
#include <cstdint>

// The copy kernels behind blend_copy() and keyed_copy(), one table per
// instruction set. Tests and benchmarks pick tables explicitly.
namespace kv::pixels {

// Already placed and clipped rows: `width` pixels from each of `height` rows.
struct Blit {
  std::uint8_t* dst;
  std::ptrdiff_t dst_stride;
  const std::uint8_t* src;
  std::ptrdiff_t src_stride;
  int width;
  int height;
};

// Weights are 0 to 255.
struct Kernels {
  void (*blend_16)(const Blit& rows, int weight);
  void (*blend_32)(const Blit& rows, int weight);
  void (*keyed_16)(const Blit& rows);
  void (*keyed_32)(const Blit& rows);
};

enum class Isa { reference, sse2, avx2, avx512bw };
inline constexpr Isa all_isas[] = {Isa::reference, Isa::sse2, Isa::avx2, Isa::avx512bw};
const char* isa_name(Isa isa);

// nullptr when this processor cannot run that instruction set.
const Kernels* kernels_for(Isa isa);

// The fastest table this processor runs, chosen once.
const Kernels& active_kernels();

extern const Kernels reference_kernels;
extern const Kernels sse2_kernels;
extern const Kernels avx2_kernels;
extern const Kernels avx512bw_kernels;

}  // namespace kv::pixels
