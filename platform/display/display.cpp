#include "platform/display/display.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/console/console.h"
#include "platform/console/console_signals.h"
#include "platform/display/display_core.h"
#include "platform/display/presentation.h"
#include "platform/display/sdl_backend.h"
#include "platform/error.h"

namespace kv {
namespace {

// The executable's file name without its extension.
std::string executable_name() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.stem().string();
}

// An X server keeps a changed mode after its client dies, so Ctrl+C and
// Ctrl+\ in full screen must give the desktop its mode back too.
void install_exit_step() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    std::atexit(close_display);
    add_fatal_signal_step(close_display);
  });
}

}  // namespace

DisplayCore& display_core() {
  static DisplayCore* core = new DisplayCore;
  return *core;
}

int open_display_with(std::unique_ptr<Backend> backend, int depth, bool full_screen) {
  DisplayCore& core = display_core();
  std::string caption;
  {
    DisplayLockGuard hold(core.lock);
    if (core.open || core.presenter.joinable()) {
      set_error(EBUSY);
      return 1;
    }
    core.pages = std::make_unique<PageSet>(depth);
    core.input = WindowInput();
    core.keys = KeyBuffer();
    core.pointer_request = PointerRequest();
    core.title_changed = false;
    core.backend = std::move(backend);
    caption = core.title.empty() ? executable_name() : core.title;
  }

  std::promise<bool> opened;
  auto result = opened.get_future();
  core.stopping.store(false);
  std::thread presenter(run_presentation, std::ref(core), depth, full_screen, caption,
                        std::move(opened));
  if (!result.get()) {
    presenter.join();
    DisplayLockGuard hold(core.lock);
    core.backend.reset();
    core.pages.reset();
    set_error(ENODEV);
    return 1;
  }
  {
    DisplayLockGuard hold(core.lock);
    core.presenter = std::move(presenter);
    core.open = true;
  }
  install_exit_step();
  return 0;
}

int open_display(int width, int height, int depth, int pages, int full_screen, int) {
  if (width != page_width || height != page_height || pages != 2 || (depth != 16 && depth != 32)) {
    set_error(EINVAL);
    return 1;
  }
  return open_display_with(make_sdl_backend(), depth, full_screen != 0);
}

void close_display() {
  static std::mutex closing;
  std::lock_guard one_at_a_time(closing);
  DisplayCore& core = display_core();
  core.lock.release_if_held();

  std::thread presenter;
  {
    DisplayLockGuard hold(core.lock);
    if (!core.open) return;
    core.open = false;
    presenter = std::move(core.presenter);
  }
  core.stopping.store(true, std::memory_order_release);
  presenter.join();

  DisplayLockGuard hold(core.lock);
  core.backend.reset();
  core.pages.reset();
  core.pass_starts = {};
}

bool display_is_open() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  return core.open;
}

bool set_title(std::string_view title) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  core.title = std::string(title.substr(0, title_limit));
  core.title_changed = true;
  return true;
}

std::optional<Image> create_image(int width, int height) {
  DisplayCore& core = display_core();
  int depth = 0;
  {
    DisplayLockGuard hold(core.lock);
    if (!core.open) {
      set_error(ENODEV);
      return std::nullopt;
    }
    depth = core.pages->depth();
  }
  auto image = Image::create(width, height, depth);
  if (!image) set_error(EINVAL);
  return image;
}

int select_pages(int work, int visible) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (!core.open) {
    set_error(ENODEV);
    return -1;
  }
  return core.pages->select(work, visible);
}

bool query_pointer(PointerState& pointer) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (!core.open) {
    pointer = {-1, -1, -1, -1, 0};
    set_error(ENODEV);
    return false;
  }
  return core.input.query(pointer);
}

bool set_pointer(int x, int y, int visibility, int confinement) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (!core.open) {
    set_error(ENODEV);
    return false;
  }
  PointerRequest& request = core.pointer_request;
  if (x >= 0) request.move_to = std::array{x, y};
  if (visibility >= 0) request.visible = visibility > 0;
  if (confinement >= 0) request.confined = confinement > 0;
  return true;
}

int key_state(int scan_code) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (!core.open) return scan_code == 1 && console_escape_typed() ? -1 : 0;
  return core.input.key_state(scan_code);
}

}  // namespace kv
