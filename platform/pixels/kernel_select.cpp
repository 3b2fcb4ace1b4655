#include "platform/pixels/kernels.h"

namespace kv::pixels {

const char* isa_name(Isa isa) {
  switch (isa) {
    case Isa::reference:
      return "reference";
    case Isa::sse2:
      return "sse2";
    case Isa::avx2:
      return "avx2";
    case Isa::avx512bw:
      return "avx512bw";
  }
  return "";
}

const Kernels* kernels_for(Isa isa) {
  switch (isa) {
    case Isa::reference:
      return &reference_kernels;
    case Isa::sse2:
      return &sse2_kernels;
    case Isa::avx2:
      return __builtin_cpu_supports("avx2") ? &avx2_kernels : nullptr;
    case Isa::avx512bw:
      return __builtin_cpu_supports("avx512bw") ? &avx512bw_kernels : nullptr;
  }
  return nullptr;
}

const Kernels& active_kernels() {
  static const Kernels* const best = [] {
    if (const Kernels* k = kernels_for(Isa::avx512bw)) return k;
    if (const Kernels* k = kernels_for(Isa::avx2)) return k;
    return &sse2_kernels;
  }();
  return *best;
}

}  // namespace kv::pixels
