#include "menu/frame_composition.h"

#include "platform/display/display.h"

namespace kv {
namespace {
constexpr int menu_weight = 127;
constexpr char title[] = "Kestovaria";
constexpr std::uint32_t black = 0xFF000000, green = 0xFF00FF00;
}  // namespace

void compose_frame(const Image* menu, const Image* cursor, int cursor_x, int cursor_y) {
  if (menu) blend_copy(*menu, 0.0f, 0.0f, menu_weight);
  if (cursor) keyed_copy(*cursor, static_cast<float>(cursor_x), static_cast<float>(cursor_y));
  draw_text(10.0f, 10.0f, title, black);
  draw_text(11.0f, 11.0f, title, green);
}

}  // namespace kv
