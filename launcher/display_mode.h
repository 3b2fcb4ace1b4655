#pragma once

namespace kv {

// What the chooser hands to the menu screen: depth 16 or 32 bits per pixel,
// full_screen 0 for a window and 1 for full screen.
struct DisplayMode {
  int depth = 0;
  int full_screen = 0;
};

}  // namespace kv
