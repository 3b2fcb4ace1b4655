#pragma once

#include <array>
#include <optional>
#include <vector>

#include "platform/display/backend.h"
#include "platform/display/display_testing.h"

namespace kv {

// Presents into memory instead of a window. Tests feed its window events
// through display_testing.h, with the display lock held.
class MemoryBackend final : public Backend {
 public:
  bool open(int depth, bool full_screen, const std::string& caption) override;
  void close() override {}
  void pump(DisplayCore& core) override;
  std::array<bool, 128> held_keys() override { return window_.keys; }
  void present(const PixelView& page, const RowMarks& marks) override;

  testing::MemoryWindow window_;
  bool window_fed_ = true;
  int close_requests_ = 0;
  testing::PointerEffect pointer_;
  std::vector<std::uint32_t> screen_;
  long presented_rows_ = 0;
};

}  // namespace kv
