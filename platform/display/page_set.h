#pragma once

#include <bitset>
#include <cstdint>
#include <memory>

#include "platform/pixel_view.h"

namespace kv {

inline constexpr int page_width = 800;
inline constexpr int page_height = 600;

// Rows of the visible page that presentation has yet to bring to the screen.
class RowMarks {
 public:
  void mark(int first, int count);
  void mark_all() { rows_.set(); }
  bool marked(int row) const { return rows_.test(row); }
  bool any() const { return rows_.any(); }
  void clear() { rows_.reset(); }

 private:
  std::bitset<page_height> rows_;
};

// The display's two pages and which of them is drawn on and shown.
class PageSet {
 public:
  // Both pages black (0x0000 or 0xFF000000), page 0 work and visible.
  explicit PageSet(int depth);

  int depth() const { return bytes_per_pixel_ * 8; }
  PixelView page(int index) const;
  PixelView work_page() const { return page(work_); }
  PixelView visible_page() const { return page(visible_); }
  int work() const { return work_; }
  int visible() const { return visible_; }
  int selection() const { return visible_ * 256 + work_; }
  RowMarks& marks() { return marks_; }

  // Returns the previous selection; out-of-range values leave their page as it is.
  int select(int work, int visible);

 private:
  struct FreeAligned {
    void operator()(std::uint8_t* p) const;
  };

  int bytes_per_pixel_;
  std::ptrdiff_t stride_;
  std::unique_ptr<std::uint8_t[], FreeAligned> pixels_[2];
  int work_ = 0;
  int visible_ = 0;
  RowMarks marks_;
};

}  // namespace kv
