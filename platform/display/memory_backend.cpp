#include "platform/display/memory_backend.h"

#include "platform/display/display_core.h"
#include "platform/display/row_conversion.h"

namespace kv {

bool MemoryBackend::open(int, bool, const std::string&) {
  screen_.assign(std::size_t{page_width} * page_height, 0);
  return true;
}

void MemoryBackend::pump(DisplayCore& core) {
  WindowInput& input = core.input;
  if (window_fed_) {
    input.set_focused(window_.focused);
    input.set_minimised(window_.minimised);
    input.set_inside(window_.inside);
    input.moved_to(window_.x, window_.y);
    window_fed_ = false;
  }
  for (; close_requests_ > 0; --close_requests_) queue_close_request(core);

  PointerRequest& request = core.pointer_request;
  if (request.move_to) {
    pointer_.moved_to = request.move_to;
    input.moved_to((*request.move_to)[0], (*request.move_to)[1]);
  }
  if (request.visible) pointer_.hidden = !*request.visible;
  if (request.confined) {
    pointer_.confined = *request.confined;
    input.set_confined(*request.confined);
  }
  request = PointerRequest();
}

void MemoryBackend::present(const PixelView& page, const RowMarks& marks) {
  for (int row = 0; row < page_height; ++row) {
    if (!marks.marked(row)) continue;
    std::uint32_t* screen = screen_.data() + std::size_t{page_width} * row;
    if (page.bytes_per_pixel == 2) {
      widen_565_row(reinterpret_cast<const std::uint16_t*>(page.row(row)), screen, page_width);
    } else {
      copy_8888_row(reinterpret_cast<const std::uint32_t*>(page.row(row)), screen, page_width);
    }
    ++presented_rows_;
  }
}

}  // namespace kv
