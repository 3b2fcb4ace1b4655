#pragma once

#include <array>
#include <string>

#include "platform/pixel_view.h"

namespace kv {

struct DisplayCore;
class RowMarks;

// What shows the pages: a real window system, or memory for tests. Every call
// is made on the presentation thread; all but open() and close() with the
// display lock held.
class Backend {
 public:
  virtual ~Backend() = default;
  // Tries the form asked for through each presentation method, then the other
  // form; on failure nothing is left open.
  virtual bool open(int depth, bool full_screen, const std::string& caption) = 0;
  virtual void close() = 0;
  // Handles every pending window event and the requests posted in `core`.
  virtual void pump(DisplayCore& core) = 0;
  virtual std::array<bool, 128> held_keys() = 0;
  // Brings the marked rows of `page` to the screen.
  virtual void present(const PixelView& page, const RowMarks& marks) = 0;
};

}  // namespace kv
