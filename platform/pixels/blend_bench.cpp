// One frame's copies on 800 × 600 buffers with about 5 % mask pixels, beside
// the memory floor and two libraries doing the same job (they round
// differently, so only their speed is comparable).
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <immintrin.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <string>

#include "platform/picture/image.h"
#include "platform/pixels/kernels.h"

namespace kv::pixels {
namespace {

constexpr int width = 800, height = 600;

struct Buffers {
  Image page, image;
};

Buffers make_buffers(int depth) {
  Buffers b{*Image::create(width, height, depth), *Image::create(width, height, depth)};
  std::mt19937 random(depth);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t value = random();
      const bool mask = random() % 20 == 0;
      if (depth == 16) {
        reinterpret_cast<std::uint16_t*>(b.image.row(y))[x] =
            mask ? mask_colour_16 : static_cast<std::uint16_t>(value);
        reinterpret_cast<std::uint16_t*>(b.page.row(y))[x] = static_cast<std::uint16_t>(random());
      } else {
        reinterpret_cast<std::uint32_t*>(b.image.row(y))[x] = mask ? mask_colour_32 : value;
        reinterpret_cast<std::uint32_t*>(b.page.row(y))[x] = random();
      }
    }
  }
  return b;
}

Buffers& buffers(int depth) {
  static Buffers b16 = make_buffers(16), b32 = make_buffers(32);
  return depth == 16 ? b16 : b32;
}

Blit whole(Buffers& b) {
  return {b.page.row(0), b.page.stride(), b.image.row(0), b.image.stride(), width, height};
}

std::size_t frame_bytes(const Buffers& b) {
  return static_cast<std::size_t>(b.page.stride()) * height;
}

void Memcpy(benchmark::State& state, int depth) {
  Buffers& b = buffers(depth);
  for (auto _ : state) {
    std::memcpy(b.page.row(0), b.image.row(0), frame_bytes(b));
    benchmark::ClobberMemory();
  }
}

// The least any blend can do: read both buffers and write one. 256-bit vectors
// measured quicker at this than 512-bit ones here, so they set the floor.
__attribute__((target("avx2"))) void or_into_256(std::uint8_t* dst, const std::uint8_t* src,
                                                 std::size_t bytes) {
  for (std::size_t k = 0; k < bytes; k += 32) {
    const __m256i d = _mm256_load_si256(reinterpret_cast<const __m256i*>(dst + k));
    const __m256i s = _mm256_load_si256(reinterpret_cast<const __m256i*>(src + k));
    _mm256_store_si256(reinterpret_cast<__m256i*>(dst + k), _mm256_or_si256(d, s));
  }
}

void or_into(std::uint8_t* dst, const std::uint8_t* src, std::size_t bytes) {
  for (std::size_t k = 0; k < bytes; k += 16) {
    const __m128i d = _mm_load_si128(reinterpret_cast<const __m128i*>(dst + k));
    const __m128i s = _mm_load_si128(reinterpret_cast<const __m128i*>(src + k));
    _mm_store_si128(reinterpret_cast<__m128i*>(dst + k), _mm_or_si128(d, s));
  }
}

void ReadTwoWriteOne(benchmark::State& state, int depth) {
  Buffers& b = buffers(depth);
  const auto pass = __builtin_cpu_supports("avx2") ? or_into_256 : or_into;
  for (auto _ : state) {
    pass(b.page.row(0), b.image.row(0), frame_bytes(b));
    benchmark::ClobberMemory();
  }
}

void Blend(benchmark::State& state, int depth, const Kernels* kernels, int weight) {
  Buffers& b = buffers(depth);
  const auto blend = depth == 16 ? kernels->blend_16 : kernels->blend_32;
  for (auto _ : state) {
    blend(whole(b), weight);
    benchmark::ClobberMemory();
  }
}

void Keyed(benchmark::State& state, int depth, const Kernels* kernels) {
  Buffers& b = buffers(depth);
  const auto keyed = depth == 16 ? kernels->keyed_16 : kernels->keyed_32;
  for (auto _ : state) {
    keyed(whole(b));
    benchmark::ClobberMemory();
  }
}

void Pixman(benchmark::State& state, int depth) {
  Buffers& b = buffers(depth);
  const pixman_format_code_t format = depth == 16 ? PIXMAN_r5g6b5 : PIXMAN_a8r8g8b8;
  const auto wrap = [&](Image& image) {
    return pixman_image_create_bits(format, width, height,
                                    reinterpret_cast<std::uint32_t*>(image.row(0)),
                                    static_cast<int>(image.stride()));
  };
  pixman_image_t* dst = wrap(b.page);
  pixman_image_t* src = wrap(b.image);
  const pixman_color_t half{0, 0, 0, 0x8000};
  pixman_image_t* mask = pixman_image_create_solid_fill(&half);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, 0, 0, width, height);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dst);
}

void SdlBlit(benchmark::State& state, int depth) {
  Buffers& b = buffers(depth);
  const Uint32 format = depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
  const auto wrap = [&](Image& image) {
    return SDL_CreateRGBSurfaceWithFormatFrom(image.row(0), width, height, depth,
                                              static_cast<int>(image.stride()), format);
  };
  SDL_Surface* dst = wrap(b.page);
  SDL_Surface* src = wrap(b.image);
  SDL_SetColorKey(src, SDL_TRUE, depth == 16 ? mask_colour_16 : 0xFF00FFu);
  SDL_SetSurfaceAlphaMod(src, 127);
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_BLEND);
  for (auto _ : state) {
    SDL_BlitSurface(src, nullptr, dst, nullptr);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

const bool registered = [] {
  const auto add = [](const std::string& name, auto run, auto... args) {
    benchmark::RegisterBenchmark(name.c_str(), run, args...)->Unit(benchmark::kMicrosecond);
  };
  for (int depth : {16, 32}) {
    const std::string d = std::to_string(depth);
    add("Frame/Floor/Memcpy/" + d, Memcpy, depth);
    add("Frame/Floor/ReadTwoWriteOne/" + d, ReadTwoWriteOne, depth);
    for (Isa isa : {Isa::sse2, Isa::avx2, Isa::avx512bw}) {
      const Kernels* kernels = kernels_for(isa);
      if (kernels == nullptr) continue;
      const std::string i = d + "/" + isa_name(isa);
      add("Frame/Blend127/" + i, Blend, depth, kernels, 127);
      add("Frame/Blend200/" + i, Blend, depth, kernels, 200);
      add("Frame/Keyed/" + i, Keyed, depth, kernels);
    }
    add("Frame/Peer/Pixman/" + d, Pixman, depth);
    add("Frame/Peer/SdlBlit/" + d, SdlBlit, depth);
  }
  return true;
}();

}  // namespace
}  // namespace kv::pixels
