#include "platform/display/sdl_window.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <vector>

#include "platform/display/page_set.h"
#include "platform/display/screen_layout.h"

namespace kv {
namespace {

constexpr int frame_wait_ms = 500;

// The frame is the window manager's, and its size is known only once it has
// reparented the shown window; without a window manager there is none.
bool frame_borders(SDL_Window* window, int& top, int& left) {
  int bottom = 0, right = 0;
  top = left = 0;
  const Uint32 deadline = SDL_GetTicks() + frame_wait_ms;
  while (!SDL_TICKS_PASSED(SDL_GetTicks(), deadline)) {
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 && (top || left))
      return true;
    SDL_Delay(5);
  }
  top = left = 0;
  return false;
}

// Where the client area really is: SDL's own idea of it can be off by the
// frame when the window manager reparents the window.
bool client_origin(SDL_Window* window, SDL_Point& origin) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  Display* display = info.info.x11.display;
  ::Window child = 0;
  return XTranslateCoordinates(display, info.info.x11.window, DefaultRootWindow(display), 0, 0,
                               &origin.x, &origin.y, &child);
}

// The outer top-left corner of the window, centred on the primary screen.
SDL_Point framed_corner() {
  SDL_Rect screen{0, 0, page_width, page_height};
  SDL_GetDisplayBounds(0, &screen);
  return {screen.x + centred_origin(screen.w, page_width),
          screen.y + centred_origin(screen.h, page_height)};
}

int display_under_pointer() {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  const SDL_Point point{x, y};
  for (int index = 0; index < SDL_GetNumVideoDisplays(); ++index) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(index, &bounds) == 0 && SDL_PointInRect(&point, &bounds)) return index;
  }
  return 0;
}

}  // namespace

SdlWindow create_framed_window(const std::string& caption) {
  const SDL_Point corner = framed_corner();
  SDL_Window* window =
      SDL_CreateWindow(caption.c_str(), corner.x, corner.y, page_width, page_height, 0);
  return {window, 0};
}

void place_framed_window(SDL_Window* window) {
  const SDL_Point corner = framed_corner();
  int top = 0, left = 0;
  if (frame_borders(window, top, left)) {
    SDL_Point client{};
    if (client_origin(window, client) && (client.x != corner.x + left || client.y != corner.y + top)) {
      int x = 0, y = 0;
      SDL_GetWindowPosition(window, &x, &y);
      SDL_SetWindowPosition(window, x + corner.x + left - client.x, y + corner.y + top - client.y);
    }
  }
  SDL_RaiseWindow(window);
}

namespace {

// A borderless window switched to `mode`, or null when the monitor refuses it.
SDL_Window* switch_to(const std::string& caption, int display, const SDL_DisplayMode& mode) {
  // Without a window manager nothing moves a full-screen window: it starts at
  // the monitor's corner.
  SDL_Rect bounds{0, 0, 0, 0};
  SDL_GetDisplayBounds(display, &bounds);
  SDL_Window* window = SDL_CreateWindow(caption.c_str(), bounds.x, bounds.y, mode.w, mode.h,
                                        SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!window) return nullptr;
  // A hidden window only records the mode; showing it switches the monitor.
  bool switched = SDL_SetWindowDisplayMode(window, &mode) == 0 &&
                  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
  if (switched) {
    SDL_ShowWindow(window);
    SDL_DisplayMode now{};
    switched = SDL_GetCurrentDisplayMode(display, &now) == 0 && now.w == mode.w && now.h == mode.h;
  }
  if (!switched) {
    SDL_DestroyWindow(window);
    return nullptr;
  }
  SDL_RaiseWindow(window);
  return window;
}

}  // namespace

SdlWindow create_full_screen_window(const std::string& caption, int depth) {
  const int display = display_under_pointer();
  std::vector<SDL_DisplayMode> modes(std::max(SDL_GetNumDisplayModes(display), 0));
  std::vector<ModeSize> sizes;
  for (int i = 0; i < static_cast<int>(modes.size()); ++i) {
    SDL_GetDisplayMode(display, i, &modes[i]);
    sizes.push_back({modes[i].w, modes[i].h});
  }
  for (int index : modes_to_try(full_screen_ladder(depth), sizes)) {
    if (SDL_Window* window = switch_to(caption, display, modes[index]))
      return {window, first_page_row(modes[index].h)};
  }
  return {};
}

}  // namespace kv
