#pragma once

#include <optional>

#include "launcher/display_mode.h"
#include "platform/picture/image.h"

namespace kv {

// Everything the frame loop draws with. It lives until the program ends.
struct MenuScreen {
  std::optional<Image> cursor;  // none when no display could be opened
  std::optional<Image> menu;
  double last_frame_time = 0.0;
};

// Opens the 800 × 600 two-page display in the chosen mode, loads the two
// pictures and hides the pointer over the window. No step's failure stops the
// program: a missing display or picture leaves less to draw.
MenuScreen set_up_menu_screen(DisplayMode mode);

}  // namespace kv
