#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// Small colour and noise helpers for drawing the game's pictures. Everything is
// deterministic, so the same source always draws the same pictures.
namespace kv::tools {

struct Colour {
  float red = 0, green = 0, blue = 0;  // 0 to 1

  Colour operator+(Colour o) const { return {red + o.red, green + o.green, blue + o.blue}; }
  Colour operator*(float k) const { return {red * k, green * k, blue * k}; }
  Colour operator*(Colour o) const { return {red * o.red, green * o.green, blue * o.blue}; }
};

inline Colour rgb(int red, int green, int blue) { return {red / 255.f, green / 255.f, blue / 255.f}; }
inline Colour mix(Colour a, Colour b, float t) { return a * (1 - t) + b * t; }
inline float clamp01(float v) { return std::clamp(v, 0.f, 1.f); }
inline float smoothstep(float edge0, float edge1, float v) {
  const float t = clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

inline std::uint32_t hash(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7FEB352Du;
  v ^= v >> 15;
  v *= 0x846CA68Bu;
  v ^= v >> 16;
  return v;
}
inline float hash01(std::uint32_t v) { return static_cast<float>(hash(v) >> 8) / 16777216.f; }
inline float lattice(int x, int y, std::uint32_t seed) {
  return hash01(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u ^ seed);
}

// Smooth value noise in 0 to 1.
inline float noise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float tx = smoothstep(0, 1, x - fx), ty = smoothstep(0, 1, y - fy);
  const float top = lattice(ix, iy, seed) * (1 - tx) + lattice(ix + 1, iy, seed) * tx;
  const float bottom = lattice(ix, iy + 1, seed) * (1 - tx) + lattice(ix + 1, iy + 1, seed) * tx;
  return top * (1 - ty) + bottom * ty;
}

// Fractal noise in 0 to 1: octaves of halving size and weight.
inline float fractal(float x, float y, std::uint32_t seed, int octaves) {
  float sum = 0, weight = 0.5f, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += noise(x, y, seed + static_cast<std::uint32_t>(i) * 101u) * weight;
    total += weight;
    x *= 2.03f;
    y *= 2.03f;
    weight *= 0.5f;
  }
  return sum / total;
}

// Ridged fractal noise in 0 to 1: sharp crests, like a mountain range's.
inline float ridged(float x, float y, std::uint32_t seed, int octaves) {
  float sum = 0, weight = 0.5f, total = 0;
  for (int i = 0; i < octaves; ++i) {
    const float crest = 1 - std::fabs(2 * noise(x, y, seed + static_cast<std::uint32_t>(i) * 101u) - 1);
    sum += crest * crest * weight;
    total += weight;
    x *= 2.1f;
    y *= 2.1f;
    weight *= 0.45f;
  }
  return sum / total;
}

// A colour as 0xRRGGBB, kept off pure magenta and the colours near it, which
// a 16-bit image treats as transparent.
inline std::uint32_t to_rgb24(Colour c, float dither = 0) {
  const auto channel = [&](float v) {
    return static_cast<std::uint32_t>(std::clamp(std::floor(v * 255.f + 0.5f + dither), 0.f, 255.f));
  };
  const std::uint32_t red = channel(c.red), blue = channel(c.blue);
  std::uint32_t green = channel(c.green);
  if (red >= 248 && blue >= 248 && green <= 3) green = 4;
  return red << 16 | green << 8 | blue;
}

}  // namespace kv::tools
