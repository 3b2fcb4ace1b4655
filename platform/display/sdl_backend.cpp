#include "platform/display/sdl_backend.h"

#include <SDL.h>

#include <utility>

#include "platform/display/display_core.h"
#include "platform/display/scan_codes.h"
#include "platform/display/sdl_presenter.h"
#include "platform/display/sdl_window.h"

namespace kv {
namespace {

constexpr Uint32 reopen_retry_ms = 300;

int button_bit(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 4;
    case SDL_BUTTON_X1: return 8;
    case SDL_BUTTON_X2: return 16;
    default: return 0;
  }
}

class SdlBackend final : public Backend {
 public:
  explicit SdlBackend(std::span<const PresentMethod> methods) : methods_(methods) {}
  bool open(int depth, bool full_screen, const std::string& caption) override;
  void close() override;
  void pump(DisplayCore& core) override;
  std::array<bool, 128> held_keys() override;
  void present(const PixelView& page, const RowMarks& marks) override;

 private:
  bool open_form(bool full_screen);
  void close_form();
  void switch_form(DisplayCore& core);
  void handle(const SDL_Event& event, DisplayCore& core);
  void carry_out(DisplayCore& core);

  std::span<const PresentMethod> methods_;
  int depth_ = 0;
  std::string caption_;
  bool full_screen_ = false;
  SdlWindow window_;
  Uint32 window_id_ = 0;
  SdlPresenter presenter_;
  SDL_Cursor* arrow_ = nullptr;
  bool pointer_hidden_ = false;
  bool confined_ = false;
  bool present_all_ = false;
  bool switch_asked_ = false;
  Uint32 last_reopen_ = 0;
};

bool SdlBackend::open(int depth, bool full_screen, const std::string& caption) {
  depth_ = depth;
  caption_ = caption;
  // Ctrl+C must keep the terminal's own rules rather than become an SDL quit event.
  SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
  SDL_SetHintWithPriority(SDL_HINT_RENDER_VSYNC, "0", SDL_HINT_OVERRIDE);
  // A window beside the terminal needs a window system; never take over the console.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (open_form(full_screen) || open_form(!full_screen)) {
    SDL_DisableScreenSaver();
    return true;
  }
  SDL_Quit();
  return false;
}

bool SdlBackend::open_form(bool full_screen) {
  for (PresentMethod method : methods_) {
    window_ = full_screen ? create_full_screen_window(caption_, depth_)
                          : create_framed_window(caption_);
    if (!window_.window) return false;
    if (presenter_.start(method, window_.window, window_.first_row)) {
      if (!full_screen) place_framed_window(window_.window);
      full_screen_ = full_screen;
      window_id_ = SDL_GetWindowID(window_.window);
      if (!arrow_) arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
      if (arrow_) SDL_SetCursor(arrow_);
      SDL_ShowCursor(pointer_hidden_ ? SDL_DISABLE : SDL_ENABLE);
      SDL_SetWindowGrab(window_.window, confined_ ? SDL_TRUE : SDL_FALSE);
      present_all_ = true;
      return true;
    }
    close_form();
  }
  return false;
}

void SdlBackend::close_form() {
  presenter_.stop();
  if (window_.window) {
    SDL_SetWindowGrab(window_.window, SDL_FALSE);
    // Destroying a full-screen window gives the monitor back its desktop mode.
    SDL_DestroyWindow(window_.window);
  }
  window_ = {};
  window_id_ = 0;
}

void SdlBackend::close() {
  close_form();
  if (arrow_) SDL_FreeCursor(arrow_);
  arrow_ = nullptr;
  SDL_EnableScreenSaver();
  SDL_Quit();
}

// Alt+Enter and the maximise button: the other form, or back to this one.
void SdlBackend::switch_form(DisplayCore& core) {
  const bool was_full_screen = full_screen_;
  close_form();
  if (!open_form(!was_full_screen)) open_form(was_full_screen);
  core.input.set_focused(false);
  core.input.set_inside(false);
  last_reopen_ = SDL_GetTicks();
}

void SdlBackend::pump(DisplayCore& core) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) handle(event, core);
  if (switch_asked_) {
    switch_asked_ = false;
    switch_form(core);
  }
  if (!window_.window && SDL_TICKS_PASSED(SDL_GetTicks(), last_reopen_ + reopen_retry_ms)) {
    last_reopen_ = SDL_GetTicks();
    open_form(full_screen_);
  }
  carry_out(core);
  if (std::exchange(present_all_, false)) core.pages->marks().mark_all();
}

void SdlBackend::handle(const SDL_Event& event, DisplayCore& core) {
  if (presenter_.restore_after(event)) present_all_ = true;
  WindowInput& input = core.input;
  switch (event.type) {
    case SDL_WINDOWEVENT:
      if (event.window.windowID != window_id_) return;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: input.set_focused(true); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: input.set_focused(false); break;
        case SDL_WINDOWEVENT_MINIMIZED: input.set_minimised(true); break;
        case SDL_WINDOWEVENT_RESTORED: input.set_minimised(false); break;
        case SDL_WINDOWEVENT_MAXIMIZED: switch_asked_ = true; break;
        case SDL_WINDOWEVENT_ENTER: input.set_inside(true); break;
        case SDL_WINDOWEVENT_LEAVE: input.set_inside(false); break;
        // The close button, the window menu's Close and, on X, Alt+F4 alike.
        case SDL_WINDOWEVENT_CLOSE: queue_close_request(core); break;
      }
      break;
    case SDL_MOUSEMOTION:
      if (event.motion.windowID != window_id_) return;
      input.set_inside(true);
      input.moved_to(event.motion.x, event.motion.y - window_.first_row);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.windowID != window_id_) return;
      input.button(button_bit(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEWHEEL:
      if (event.wheel.windowID != window_id_) return;
      input.wheel_turned(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y
                                                                         : event.wheel.y);
      break;
    // A key that reached the window means it has the keyboard, even where the
    // focus notice comes later (as without a window manager, when SDL does not
    // yet name a window for the key).
    case SDL_KEYDOWN:
      if (event.key.keysym.scancode == SDL_SCANCODE_RETURN && (event.key.keysym.mod & KMOD_ALT) &&
          !event.key.repeat)
        switch_asked_ = true;
      break;
  }
}

// The pointer and title changes the program posted since the last pass.
void SdlBackend::carry_out(DisplayCore& core) {
  if (core.title_changed) {
    core.title_changed = false;
    caption_ = core.title;
    if (window_.window) SDL_SetWindowTitle(window_.window, caption_.c_str());
  }
  const PointerRequest request = std::exchange(core.pointer_request, PointerRequest());
  if (request.visible) {
    pointer_hidden_ = !*request.visible;
    SDL_ShowCursor(pointer_hidden_ ? SDL_DISABLE : SDL_ENABLE);
  }
  if (request.confined) {
    confined_ = *request.confined;
    core.input.set_confined(confined_);
    if (window_.window) SDL_SetWindowGrab(window_.window, confined_ ? SDL_TRUE : SDL_FALSE);
  }
  if (request.move_to && window_.window) {
    const auto [x, y] = *request.move_to;
    SDL_WarpMouseInWindow(window_.window, x, y + window_.first_row);
    core.input.moved_to(x, y);
  }
}

std::array<bool, 128> SdlBackend::held_keys() {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  return held_scan_codes(state, count);
}

void SdlBackend::present(const PixelView& page, const RowMarks& marks) {
  presenter_.present(page, marks);
}

}  // namespace

std::unique_ptr<Backend> make_sdl_backend(std::span<const PresentMethod> methods) {
  return std::make_unique<SdlBackend>(methods);
}

}  // namespace kv
