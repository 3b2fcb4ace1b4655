#include "menu/menu_frame_platform.h"

#include "menu/frame_composition.h"
#include "platform/clock.h"
#include "platform/display/display.h"

namespace kv {

namespace {
constexpr int escape_scan_code = 1;
}

void MenuFramePlatform::pointer_position(int& x, int& y) {
  PointerState pointer;
  query_pointer(pointer);
  x = pointer.x;
  y = pointer.y;
}

bool MenuFramePlatform::escape_held() { return key_state(escape_scan_code) == -1; }

double MenuFramePlatform::clock() { return clock_seconds(); }

void MenuFramePlatform::select_pages(int work, int visible) { kv::select_pages(work, visible); }

void MenuFramePlatform::compose_frame(int cursor_x, int cursor_y) {
  kv::compose_frame(screen_.menu ? &*screen_.menu : nullptr,
                    screen_.cursor ? &*screen_.cursor : nullptr, cursor_x, cursor_y);
}

}  // namespace kv
