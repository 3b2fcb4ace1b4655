#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/backend.h"
#include "platform/display/fair_lock.h"
#include "platform/display/input_queues.h"
#include "platform/display/page_set.h"
#include "platform/display/window_input.h"

namespace kv {

// Pointer changes asked for by the program, carried out by the next pass.
struct PointerRequest {
  std::optional<std::array<int, 2>> move_to;
  std::optional<bool> visible;
  std::optional<bool> confined;
};

inline constexpr std::size_t title_limit = 127;

// Everything the program's thread and the presentation thread share. All of
// it but the event queue is guarded by `lock`.
struct DisplayCore {
  FairRecursiveLock lock;
  bool open = false;
  std::unique_ptr<PageSet> pages;
  WindowInput input;
  KeyBuffer keys;
  EventQueue events;
  std::string title;
  bool title_changed = false;
  PointerRequest pointer_request;

  std::unique_ptr<Backend> backend;
  std::thread presenter;
  std::atomic<bool> stopping{false};
  std::vector<double> pass_starts;  // the latest passes, for measuring the cadence
};

// Lives for the whole process, so that calls racing the exit step find a lock.
DisplayCore& display_core();

// The close button and the window manager's close request: the window stays,
// and the program finds a key code and a notice queued.
inline void queue_close_request(DisplayCore& core) {
  core.keys.push(close_request_key);
  core.events.push(WindowNotice::close);
}

// Opens the display through `backend`; 0 on success, 1 on failure.
int open_display_with(std::unique_ptr<Backend> backend, int depth, bool full_screen);

}  // namespace kv
