#include "menu/set_up.h"

#include "platform/clock.h"
#include "platform/display/display.h"
#include "platform/picture/picture_file.h"

namespace kv {

MenuScreen set_up_menu_screen(DisplayMode mode) {
  MenuScreen screen;
  open_display(800, 600, mode.depth, 2, mode.full_screen, 0);
  set_title("Kestovaria");
  screen.cursor = create_image(48, 48);
  screen.menu = create_image(800, 600);
  if (screen.cursor) load_picture(*screen.cursor, "gfx\\cursor.bmp");
  if (screen.menu) load_picture(*screen.menu, "gfx\\mainmenu.bmp");
  screen.last_frame_time = clock_seconds();
  set_pointer(-1, -1, 0, -1);
  return screen;
}

}  // namespace kv
