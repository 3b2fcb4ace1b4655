#include <cerrno>

#include "platform/display/display.h"
#include "platform/display/display_core.h"
#include "platform/error.h"
#include "platform/pixels/blit.h"

namespace kv {
namespace {

constexpr int glyph_height = 8;

// The work page with the lock held, or null (and the error set) when there is
// nothing to draw on at this depth.
const PageSet* work_pages(DisplayCore& core, int bytes_per_pixel) {
  if (!core.open) {
    set_error(ENODEV);
    return nullptr;
  }
  if (bytes_per_pixel != 0 && bytes_per_pixel * 8 != core.pages->depth()) {
    set_error(EINVAL);
    return nullptr;
  }
  return core.pages.get();
}

void mark_if_visible(DisplayCore& core, int first_row, int rows) {
  PageSet& pages = *core.pages;
  if (pages.work() == pages.visible()) pages.marks().mark(first_row, rows);
}

template <typename Kernel>
bool copy_image(const Image& image, float x, float y, Kernel kernel) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  const PageSet* pages = work_pages(core, image.bytes_per_pixel());
  if (!pages) return false;
  const PixelView page = pages->work_page();
  const PixelView source = image.view();
  const auto where = pixels::place(page, source, pixels::round_position(x),
                                   pixels::round_position(y));
  if (where.empty()) return true;
  kernel(page, source, where);
  mark_if_visible(core, where.dst_y, where.height);
  return true;
}

}  // namespace

bool blend_copy(const Image& image, float x, float y, int weight) {
  return copy_image(image, x, y, [weight](auto& page, auto& source, auto& where) {
    pixels::blend_copy(page, source, where, weight);
  });
}

bool keyed_copy(const Image& image, float x, float y) {
  return copy_image(image, x, y, [](auto& page, auto& source, auto& where) {
    pixels::keyed_copy(page, source, where);
  });
}

bool draw_text(float x, float y, std::string_view text, std::uint32_t colour) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  const PageSet* pages = work_pages(core, 0);
  if (!pages) return false;
  const int left = pixels::round_position(x);
  const int top = pixels::round_position(y);
  pixels::draw_text(pages->work_page(), left, top, text, colour);
  mark_if_visible(core, top, glyph_height);
  return true;
}

}  // namespace kv
