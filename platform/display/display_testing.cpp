#include "platform/display/display_testing.h"

#include <chrono>
#include <thread>

#include "platform/display/display_core.h"
#include "platform/display/memory_backend.h"
#include "platform/display/sdl_backend.h"

namespace kv::testing {
namespace {

// The memory backend of the open display, or null; call with the lock held.
MemoryBackend* memory(DisplayCore& core) {
  return core.open ? dynamic_cast<MemoryBackend*>(core.backend.get()) : nullptr;
}

}  // namespace

int open_memory_display(int depth) {
  if (depth != 16 && depth != 32) return 1;
  return open_display_with(std::make_unique<MemoryBackend>(), depth, false);
}

int open_surface_display(int depth) {
  static constexpr PresentMethod surface_only[] = {PresentMethod::window_surface};
  if (depth != 16 && depth != 32) return 1;
  return open_display_with(make_sdl_backend(surface_only), depth, false);
}

int current_selection() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  return core.open ? core.pages->selection() : -1;
}

std::vector<std::uint8_t> page_pixels(int page) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (!core.open || page < 0 || page > 1) return {};
  const PixelView view = core.pages->page(page);
  const auto* first = view.data;
  return {first, first + view.stride * view.height};
}

std::vector<std::uint32_t> memory_screen() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  MemoryBackend* backend = memory(core);
  return backend ? backend->screen_ : std::vector<std::uint32_t>();
}

long presented_rows() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  MemoryBackend* backend = memory(core);
  return backend ? backend->presented_rows_ : 0;
}

void wait_for_passes(int count) {
  DisplayCore& core = display_core();
  std::size_t seen = 0;
  {
    DisplayLockGuard hold(core.lock);
    if (!core.open) return;
    seen = core.pass_starts.size();
  }
  for (int passes = 0; passes < count;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    DisplayLockGuard hold(core.lock);
    if (!core.open) return;
    const std::size_t now = core.pass_starts.size();
    passes += static_cast<int>(now >= seen ? now - seen : now);
    seen = now;
  }
}

std::vector<double> pass_starts() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  return core.pass_starts;
}

void feed_memory_window(const MemoryWindow& window) {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (MemoryBackend* backend = memory(core)) {
    backend->window_ = window;
    backend->window_fed_ = true;
  }
}

void feed_memory_close_request() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  if (MemoryBackend* backend = memory(core)) ++backend->close_requests_;
}

std::optional<int> pop_window_key() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  return core.keys.pop();
}

int queued_close_notices() {
  int count = 0;
  while (display_core().events.pop()) ++count;
  return count;
}

PointerEffect memory_pointer_effect() {
  DisplayCore& core = display_core();
  DisplayLockGuard hold(core.lock);
  MemoryBackend* backend = memory(core);
  return backend ? backend->pointer_ : PointerEffect();
}

}  // namespace kv::testing
