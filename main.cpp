#include "launcher/chooser.h"
#include "menu/frame_loop.h"
#include "menu/menu_frame_platform.h"
#include "menu/set_up.h"

// The opening screen: choose a display mode on the terminal, then show the
// main menu until Escape. The exit steps installed along the way close the
// display and give the terminal back as it was.
int main() {
  const kv::DisplayMode mode = kv::choose_display_mode();
  const kv::MenuScreen screen = kv::set_up_menu_screen(mode);
  kv::MenuFramePlatform platform(screen);
  kv::run_frame_loop(platform, screen.last_frame_time);
  return 0;
}
