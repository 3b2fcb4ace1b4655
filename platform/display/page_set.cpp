#include "platform/display/page_set.h"

#include <algorithm>
#include <new>

namespace kv {
namespace {
constexpr std::align_val_t page_alignment{64};
}

void RowMarks::mark(int first, int count) {
  const int begin = std::max(first, 0);
  const int end = std::min(first + count, page_height);
  for (int row = begin; row < end; ++row) rows_.set(row);
}

void PageSet::FreeAligned::operator()(std::uint8_t* p) const {
  ::operator delete[](p, page_alignment);
}

PageSet::PageSet(int depth)
    : bytes_per_pixel_(depth / 8), stride_(std::ptrdiff_t{page_width} * (depth / 8)) {
  const std::size_t bytes = static_cast<std::size_t>(stride_) * page_height;
  for (auto& pixels : pixels_) {
    pixels.reset(static_cast<std::uint8_t*>(::operator new[](bytes, page_alignment)));
    if (bytes_per_pixel_ == 2) {
      std::fill_n(pixels.get(), bytes, std::uint8_t{0});
    } else {
      auto* words = reinterpret_cast<std::uint32_t*>(pixels.get());
      std::fill_n(words, bytes / 4, 0xFF000000u);
    }
  }
}

PixelView PageSet::page(int index) const {
  return {pixels_[index].get(), stride_, page_width, page_height, bytes_per_pixel_};
}

int PageSet::select(int work, int visible) {
  const int previous = selection();
  if (work < 0 && visible < 0) work = visible = 0;
  if (work == 0 || work == 1) work_ = work;
  if ((visible == 0 || visible == 1) && visible != visible_) {
    visible_ = visible;
    marks_.mark_all();
  }
  return previous;
}

}  // namespace kv
