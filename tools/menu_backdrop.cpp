#include "tools/menu_backdrop.h"

#include <cmath>
#include <vector>

#include "tools/painting.h"

// A castle on a crag at dusk: a sky from night blue to sunset orange with stars
// and a moon, two ranges of hazy mountains, mist, the castle's lit windows, a
// lake that mirrors it all and dark pines framing the shore. Drawn at three
// times the size and averaged down, so every edge is smooth. The top-left
// corner stays plain night sky for the title.
namespace kv::tools {
namespace {

constexpr int width = 800;
constexpr int height = 600;
constexpr int scale = 3;
constexpr float waterline = 468;
constexpr float sun_x = 250;
constexpr float moon_x = 690, moon_y = 92, moon_radius = 26;

float square(float v) { return v * v; }

// How much of the sunset's light reaches a point on the horizon side.
float sun_light(float x) { return std::exp(-square((x - sun_x) / 260)); }

Colour sky(float x, float y) {
  struct Stop {
    float y;
    Colour colour;
  };
  static const Stop stops[] = {
      {0, rgb(5, 7, 24)},        {130, rgb(14, 17, 50)},    {230, rgb(44, 30, 84)}, {315, rgb(112, 56, 108)},
      {375, rgb(206, 102, 96)},  {425, rgb(250, 164, 100)}, {480, rgb(255, 198, 128)},
  };
  Colour colour = stops[0].colour;
  for (std::size_t i = 1; i < std::size(stops); ++i) {
    if (y < stops[i].y) {
      colour = mix(stops[i - 1].colour, stops[i].colour, smoothstep(stops[i - 1].y, stops[i].y, y));
      break;
    }
    colour = stops[i].colour;
  }
  // Warm where the sun went down, cooler and more violet away from it.
  const float warmth = sun_light(x) * smoothstep(240, 440, y);
  colour = colour + rgb(60, 26, 0) * warmth;
  colour = mix(colour, colour * rgb(200, 190, 255), (1 - sun_light(x)) * smoothstep(280, 420, y) * 0.35f);
  return colour;
}

Colour moon(float x, float y, Colour behind) {
  const float d = std::hypot(x - moon_x, y - moon_y);
  if (d < moon_radius) {
    const float limb = 0.82f + 0.18f * std::sqrt(1 - square(d / moon_radius));
    const float maria = smoothstep(0.5f, 0.72f, fractal(x / 11, y / 11, 71, 4));
    const float craters = smoothstep(0.62f, 0.8f, fractal(x / 4, y / 4, 83, 3));
    return rgb(250, 244, 226) * limb * (1 - 0.18f * maria - 0.08f * craters);
  }
  const float halo = std::exp(-(d - moon_radius) / 18) * 0.35f + std::exp(-(d - moon_radius) / 80) * 0.12f;
  return behind + rgb(170, 170, 200) * halo;
}

Colour clouds(float x, float y, Colour behind) {
  const float band = smoothstep(250, 300, y) * (1 - smoothstep(360, 395, y));
  if (band <= 0) return behind;
  const float density = fractal(x / 170, y / 13, 17, 5);
  const float alpha = smoothstep(0.52f, 0.74f, density) * band * 0.75f;
  const Colour lit = mix(rgb(150, 80, 120), rgb(255, 168, 120), sun_light(x));
  const Colour cloud = mix(rgb(70, 44, 92), lit, smoothstep(285, 375, y));
  return mix(behind, cloud, alpha);
}

struct Range {
  float base, amplitude, period;
  std::uint32_t seed;
  Colour body, floor, rim;
  float rim_strength;
  float haze;  // how much of the sky shows through
};

const Range far_range{418, 150, 150, 5, rgb(78, 52, 106), rgb(66, 48, 98), rgb(244, 156, 130), 0.8f, 0.2f};
const Range near_range{472, 125, 95, 9, rgb(46, 34, 72), rgb(30, 24, 52), rgb(196, 112, 112), 0.5f, 0.06f};

float ridge(const Range& range, float x) {
  return range.base - range.amplitude * ridged(x / range.period, 3.7f, range.seed, 6);
}

Colour mountain(const Range& range, float x, float y, float top, Colour behind) {
  if (y < top) return behind;
  Colour colour = mix(range.body, range.floor, smoothstep(top, waterline, y));
  // The slopes just under the crest catch the last light.
  colour = mix(colour, range.rim, std::exp(-(y - top) / 9) * range.rim_strength * (0.35f + 0.65f * sun_light(x)));
  // Snow on the highest slopes, rose on the side of the sunset.
  const float high = smoothstep(range.base - range.amplitude * 0.5f, range.base - range.amplitude * 0.7f, top);
  const float depth = 4 + 16 * noise(x / 3, 0.5f, range.seed + 7);
  const float snow = high * (1 - smoothstep(depth * 0.6f, depth, y - top));
  colour = mix(colour, mix(rgb(150, 130, 176), rgb(250, 190, 180), sun_light(x)), snow * range.rim_strength * 0.6f);
  return mix(colour, sky(x, y), range.haze);
}

Colour mist(float x, float y, float top, float bottom, float strength, std::uint32_t seed, Colour behind) {
  const float band = smoothstep(top, (top + bottom) / 2, y) * (1 - smoothstep((top + bottom) / 2, bottom, y));
  if (band <= 0) return behind;
  const float alpha = smoothstep(0.3f, 0.8f, fractal(x / 110, y / 9, seed, 4)) * band * strength;
  return mix(behind, mix(rgb(176, 124, 156), rgb(236, 170, 150), sun_light(x)), alpha);
}

float crag_top(float x) {
  const float hill = std::exp(-square(square((x - 540) / 135)));
  return 482 - 92 * hill - 14 * (fractal(x / 16, 1.3f, 23, 3) - 0.5f);
}

struct Box {
  float left, top, right, bottom;
  bool contains(float x, float y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A cone roof: apex and the two ends of its base.
struct Roof {
  float apex_x, apex_y, left, right, base;
  bool contains(float x, float y) const {
    if (y < apex_y || y >= base) return false;
    const float t = (y - apex_y) / (base - apex_y);
    return x >= apex_x - (apex_x - left) * t && x < apex_x + (right - apex_x) * t;
  }
};

// Battlements along the top edge of a wall: merlons every `step`.
bool battlements(float x, float y, float left, float right, float top, float step) {
  if (x < left || x >= right || y < top - 7 || y >= top) return false;
  return std::fmod(x - left, step) < step * 0.55f;
}

const Box castle_boxes[] = {
    {458, 352, 622, 470},  // curtain wall
    {444, 292, 474, 470},  // west tower
    {604, 306, 634, 470},  // east tower
    {500, 282, 580, 470},  // keep
    {494, 262, 508, 300},  // keep turrets
    {572, 262, 586, 300},
    {526, 222, 554, 282},  // high tower
    {539.3f, 138, 540.7f, 162},  // flag pole
};
const Roof castle_roofs[] = {
    {459, 240, 440, 478, 292}, {619, 260, 600, 638, 306}, {501, 236, 491, 511, 262},
    {579, 236, 569, 589, 262}, {540, 160, 520, 560, 222},
};

struct Window {
  float x, y, w, h, brightness;
};
const Window windows[] = {
    {457, 312, 4, 8, 1.0f},  {457, 346, 4, 8, 0.8f},  {617, 326, 4, 8, 0.9f},  {611, 372, 4, 7, 0.7f},
    {510, 300, 4, 8, 0.95f}, {566, 300, 4, 8, 0.85f}, {522, 336, 4, 8, 1.0f},  {552, 336, 4, 8, 0.75f},
    {537, 236, 6, 11, 1.0f}, {537, 260, 6, 10, 0.9f}, {484, 380, 3, 6, 0.7f},  {592, 384, 3, 6, 0.8f},
    {512, 376, 4, 7, 0.6f},  {533, 372, 14, 18, 0.55f},  // the gate
};

bool in_window(const Window& w, float x, float y) {
  if (x < w.x || x >= w.x + w.w || y >= w.y + w.h) return false;
  // Arched tops.
  const float r = w.w / 2;
  if (y < w.y + r) return std::hypot(x - (w.x + r), y - (w.y + r)) < r;
  return true;
}

bool pennant(float x, float y) {
  if (x < 540.7f || x > 560) return false;
  const float t = (x - 540.7f) / 19.3f;
  const float centre = 144 + 2.2f * std::sin(t * 5.5f);
  return std::abs(y - centre) < 4.2f * (1 - t);
}

Colour castle(float x, float y, Colour behind) {
  bool solid = y >= crag_top(x);
  for (const Box& b : castle_boxes) solid = solid || b.contains(x, y);
  for (const Roof& r : castle_roofs) solid = solid || r.contains(x, y);
  solid = solid || battlements(x, y, 458, 622, 352, 9) || battlements(x, y, 500, 580, 282, 10) ||
          battlements(x, y, 444, 474, 292, 7.5f) || battlements(x, y, 604, 634, 306, 7.5f) || pennant(x, y);
  Colour colour = behind;
  if (solid) colour = rgb(26, 20, 40);
  const float rock = crag_top(x);
  if (solid && y >= rock) {
    // Weathered rock, its upper edge catching a little of the sunset.
    colour = rgb(20, 16, 30) * (0.85f + 0.3f * fractal(x / 16, y / 4, 29, 3));
    colour = mix(colour, rgb(92, 52, 72), std::exp(-(y - rock) / 3.5f) * 0.55f);
  }

  Colour glow{};
  for (const Window& w : windows) {
    if (in_window(w, x, y)) return mix(rgb(255, 140, 50), rgb(255, 232, 160), w.brightness) * (0.5f + 0.5f * w.brightness);
    const float d = std::hypot(x - (w.x + w.w / 2), y - (w.y + w.h / 2));
    glow = glow + rgb(255, 140, 50) * (0.38f * w.brightness * std::exp(-square(d / (5 + w.w))));
  }
  return colour + glow;
}

float shore_top(float x) {
  const float bumps = 6 * (fractal(x / 25, 7.7f, 31, 3) - 0.5f);
  if (x < 330) return 506 + 100 * square(x / 330) + bumps;
  if (x > 650) return 600 - 78 * square((x - 650) / 150) + bumps;
  return 700;
}

struct Pine {
  float x, base, height;
};
const Pine pines[] = {
    {38, 512, 205}, {10, 508, 150}, {86, 516, 150}, {128, 526, 118}, {172, 540, 86},
    {212, 554, 60}, {776, 530, 140}, {742, 548, 92}, {708, 566, 58},
};

bool in_pine(const Pine& p, float x, float y, std::uint32_t seed) {
  const float top = p.base - p.height;
  if (y < top || y > p.base + 30) return false;
  if (std::abs(x - p.x) < p.height * 0.018f + 0.8f) return true;  // trunk
  const float t = (y - top) / (p.height * 0.92f);
  if (t > 1) return false;
  // Tiers of boughs that droop outward, with ragged needles.
  const float tiers = 6;
  const float tier = t * tiers - std::floor(t * tiers);
  const float spread = p.height * 0.2f * (0.15f + 0.85f * t) * (0.55f + 0.45f * tier);
  const float ragged = 0.8f + 0.35f * noise(y / 2.5f, x / 2.5f, seed);
  return std::abs(x - p.x) < spread * ragged;
}

Colour foreground(float x, float y, Colour behind) {
  if (y >= shore_top(x)) return rgb(8, 8, 16);
  for (std::size_t i = 0; i < std::size(pines); ++i)
    if (in_pine(pines[i], x, y, static_cast<std::uint32_t>(40 + i))) return rgb(9, 9, 18);
  return behind;
}

Colour above_water(float x, float y, const std::vector<Colour>& stars, int sx, int sy) {
  Colour colour = sky(x, y) + stars[static_cast<std::size_t>(sy) * width * scale + sx];
  colour = moon(x, y, colour);
  colour = clouds(x, y, colour);
  colour = mountain(far_range, x, y, ridge(far_range, x), colour);
  colour = mist(x, y, 380, 430, 0.55f, 61, colour);
  colour = mountain(near_range, x, y, ridge(near_range, x), colour);
  colour = mist(x, y, 428, 472, 0.5f, 67, colour);
  return castle(x, y, colour);
}

// Stars as soft points, more and brighter towards the top, none where the
// title goes or too near the moon, fading into the sunset.
std::vector<Colour> star_field() {
  std::vector<Colour> field(static_cast<std::size_t>(width) * scale * height * scale);
  for (std::uint32_t i = 0; i < 420; ++i) {
    const float x = hash01(i * 3 + 1) * width;
    const float y = std::pow(hash01(i * 3 + 2), 1.7f) * 330;
    if ((x < 140 && y < 44) || std::hypot(x - moon_x, y - moon_y) < 58) continue;
    const float brightness = (0.2f + 0.8f * std::pow(hash01(i * 3 + 3), 4.f)) * (1 - smoothstep(170, 330, y));
    const Colour tint = mix(rgb(200, 215, 255), rgb(255, 236, 200), hash01(i * 7 + 5));
    const bool flare = brightness > 0.6f;
    const int reach = flare ? 6 * scale : 2 * scale;
    const int cx = static_cast<int>(x * scale), cy = static_cast<int>(y * scale);
    for (int sy = cy - reach; sy <= cy + reach; ++sy) {
      for (int sx = cx - reach; sx <= cx + reach; ++sx) {
        if (sx < 0 || sy < 0 || sx >= width * scale || sy >= height * scale) continue;
        const float dx = (sx + 0.5f) / scale - x, dy = (sy + 0.5f) / scale - y;
        float light = 2.2f * std::exp(-(dx * dx + dy * dy) / (2 * 0.45f * 0.45f));
        if (flare) light += 0.5f * std::exp(-std::abs(dx) / 1.6f - dy * dy / 0.05f) +
                            0.5f * std::exp(-std::abs(dy) / 1.6f - dx * dx / 0.05f);
        Colour& at = field[static_cast<std::size_t>(sy) * width * scale + sx];
        at = at + tint * (light * brightness);
      }
    }
  }
  return field;
}

}  // namespace

std::vector<std::uint32_t> draw_menu_backdrop() {
  constexpr int big_width = width * scale, big_height = height * scale;
  const std::vector<Colour> stars = star_field();
  std::vector<Colour> big(static_cast<std::size_t>(big_width) * big_height);
  const auto at = [&](int sx, int sy) -> Colour& { return big[static_cast<std::size_t>(sy) * big_width + sx]; };

  const int water_row = static_cast<int>(waterline * scale);
  for (int sy = 0; sy < water_row; ++sy)
    for (int sx = 0; sx < big_width; ++sx)
      at(sx, sy) = above_water((sx + 0.5f) / scale, (sy + 0.5f) / scale, stars, sx, sy);

  // The lake mirrors what is above it, rippled and darkened with depth.
  for (int sy = water_row; sy < big_height; ++sy) {
    const float y = (sy + 0.5f) / scale;
    const float depth = (y - waterline) / (height - waterline);
    for (int sx = 0; sx < big_width; ++sx) {
      const float x = (sx + 0.5f) / scale;
      const float wave = std::sin(y * 1.3f + 4 * noise(x / 40, y / 3, 91)) * (0.6f + 5 * depth);
      const int mx = std::clamp(static_cast<int>((x + wave) * scale), 0, big_width - 1);
      const int my = std::clamp(static_cast<int>((2 * waterline - y + 0.6f * wave) * scale), 0, water_row - 1);
      Colour colour = mix(at(mx, my), rgb(10, 12, 30), 0.32f + 0.4f * depth);
      // Glints of the sunset on the small waves.
      const float glint = std::pow(noise(x / 14, y * 0.9f, 97), 6.f) * sun_light(x) * (1 - depth);
      colour = colour + rgb(255, 170, 110) * (0.9f * glint);
      at(sx, sy) = mist(x, y, 456, 500, 0.35f, 73, colour);
    }
  }

  for (int sy = 0; sy < big_height; ++sy)
    for (int sx = 0; sx < big_width; ++sx) at(sx, sy) = foreground((sx + 0.5f) / scale, (sy + 0.5f) / scale, at(sx, sy));

  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Colour sum{};
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx) sum = sum + at(x * scale + dx, y * scale + dy);
      // A gentle vignette, darker towards the corners.
      const float vignette = 1 - 0.42f * (square((x - 400) / 520.f) + square((y - 300) / 430.f));
      const float dither = hash01(static_cast<std::uint32_t>(y * width + x) ^ 0x5EEDu) - 0.5f;
      pixels.push_back(to_rgb24(sum * (vignette / (scale * scale)), dither));
    }
  }
  return pixels;
}

}  // namespace kv::tools
