#pragma once

#include <SDL.h>

#include <string>

namespace kv {

// A window in one of the display's two forms, or null on failure.
struct SdlWindow {
  SDL_Window* window = nullptr;
  int first_row = 0;  // where page row 0 goes on the screen
};

// The 800 × 600 window, shown, not resizable.
SdlWindow create_framed_window(const std::string& caption);
// Puts its outer corner at the centre of the primary screen, once the window
// manager's frame is known, and raises it. Only after presentation has started:
// an SDL renderer may replace the window with another.
void place_framed_window(SDL_Window* window);
// A full-screen window in the first mode of the ladder that the monitor under
// the pointer has; null when it has none.
SdlWindow create_full_screen_window(const std::string& caption, int depth);

}  // namespace kv
