#pragma once

#include <cstdint>
#include <string_view>

#include "platform/pixel_view.h"

// The drawing rules as pure functions over memory: no locks, no display.
namespace kv::pixels {

// A drawing position: nearest integer, halves away from zero. Values far off
// the page (and NaN) come back as a position no image can reach the page from.
int round_position(float value);

// The part of an image placed with its top-left pixel at (x, y) that lies on
// the page: `width` × `height` pixels from image (src_x, src_y) to page
// (dst_x, dst_y). Empty when the image lies wholly outside the page or its
// depth differs from the page's.
struct Placement {
  int src_x = 0, src_y = 0;
  int dst_x = 0, dst_y = 0;
  int width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};
Placement place(const PixelView& page, const PixelView& image, int x, int y);

// Both take a placement made by place() for these two views.
// Mask-colour image pixels leave the page alone. Weight is 0 to 255 (values
// outside are clamped); weight 0 draws nothing.
void blend_copy(const PixelView& page, const PixelView& image, const Placement& where, int weight);
void keyed_copy(const PixelView& page, const PixelView& image, const Placement& where);

// The string's bytes in the built-in 8 × 8 font, set pixels only, clipped to
// the page; the pen advances 8 pixels a character. The colour is 0xAARRGGBB,
// truncated to 5-6-5 on 16-bit pages.
void draw_text(const PixelView& page, int x, int y, std::string_view text, std::uint32_t colour);

}  // namespace kv::pixels
