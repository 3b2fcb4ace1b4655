#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/pixel_view.h"

// Test access to the display layer: a display without a window, whose
// presentation thread presents into memory, and a look inside.
namespace kv::testing {

// Opens the display at depth 16 or 32 on the memory backend; 0 or 1 like open_display.
int open_memory_display(int depth);

// Opens a window like open_display, presenting through the window surface,
// the method tried when the renderer fails.
int open_surface_display(int depth);

// The current selection as visible × 256 + work, or -1 without a display.
int current_selection();
// A copy of one page's pixels, row after row; empty without a display.
std::vector<std::uint8_t> page_pixels(int page);
// What the memory backend last presented, 800 × 600 as 0xAARRGGBB, and how
// many rows it has converted since opening.
std::vector<std::uint32_t> memory_screen();
long presented_rows();
// Returns once `count` more presentation passes have run.
void wait_for_passes(int count);
// Start times of the latest presentation passes, in clock seconds.
std::vector<double> pass_starts();

// Window events for the memory backend, handled by its next pass.
struct MemoryWindow {
  bool focused = true;
  bool minimised = false;
  bool inside = true;
  int x = 0, y = 0;
  std::array<bool, 128> keys{};
};
void feed_memory_window(const MemoryWindow& window);
void feed_memory_close_request();

// What the window queued for the program: key codes and close notices.
std::optional<int> pop_window_key();
int queued_close_notices();
// The pointer visibility and confinement the last pass carried out.
struct PointerEffect {
  bool hidden = false, confined = false;
  std::optional<std::array<int, 2>> moved_to;
};
PointerEffect memory_pointer_effect();

}  // namespace kv::testing
