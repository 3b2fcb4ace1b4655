#include "tools/cursor_arrow.h"

#include <cmath>
#include <cstddef>

#include "tools/painting.h"

// A gilded arrow pointing up and to the left, with a dark outline and a bevel
// lit from the top left. The outline ends hard against the magenta around it,
// as any blend with the background would show as a pink fringe.
namespace kv::tools {
namespace {

constexpr int size = 48;
constexpr float tip = 24.5f;  // the centre of pixel (24, 24)
constexpr std::uint32_t magenta = 0xFF00FF;

struct Point {
  float x, y;
};
// Outline of the arrow, clockwise from the tip, in pixels from the tip.
const Point arrow[] = {{0, 0}, {13, 13}, {7.6f, 13}, {11, 19.8f}, {8, 21}, {4.5f, 14}, {0, 18}};

float segment_distance(Point p, Point a, Point b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float t = clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy));
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Distance to the arrow's edge, negative inside.
float signed_distance(Point p) {
  float distance = 1e9f;
  bool inside = false;
  const std::size_t n = std::size(arrow);
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Point a = arrow[j], b = arrow[i];
    distance = std::fmin(distance, segment_distance(p, a, b));
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
  }
  return inside ? -distance : distance;
}

}  // namespace

std::vector<std::uint32_t> draw_cursor_arrow() {
  const Colour outline = rgb(34, 20, 8);
  const Colour light_gold = rgb(255, 228, 140), deep_gold = rgb(196, 124, 36);
  const Colour highlight = rgb(255, 248, 206), shadow = rgb(132, 78, 22);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Point p{x + 0.5f - tip, y + 0.5f - tip};
      const float d = signed_distance(p);
      if (d > 0.7f) {
        pixels.push_back(magenta);
        continue;
      }
      Colour fill = mix(light_gold, deep_gold, smoothstep(4, 26, p.x + p.y));
      // The bevel: the edge's outward direction against the light from the top left.
      const float nx = signed_distance({p.x + 0.25f, p.y}) - signed_distance({p.x - 0.25f, p.y});
      const float ny = signed_distance({p.x, p.y + 0.25f}) - signed_distance({p.x, p.y - 0.25f});
      const float facing = -(nx + ny) / (std::hypot(nx, ny) + 1e-6f) * 0.7071f;
      const float rim = 1 - smoothstep(-2.4f, -1.4f, -d);
      fill = mix(fill, facing > 0 ? highlight : shadow, rim * std::fabs(facing));
      pixels.push_back(to_rgb24(mix(fill, outline, smoothstep(-1.3f, -0.8f, d))));
    }
  }
  return pixels;
}

}  // namespace kv::tools
