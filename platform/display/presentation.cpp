#include "platform/display/presentation.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

#include "platform/clock.h"

namespace kv {
namespace {

constexpr auto pass_period = std::chrono::milliseconds(10);
constexpr std::size_t kept_pass_starts = 4096;

// Above normal while the window is active; refused without privileges, which is fine.
void set_priority(bool active) { setpriority(PRIO_PROCESS, gettid(), active ? -5 : 0); }

void run_pass(DisplayCore& core) {
  if (core.pass_starts.size() == kept_pass_starts) core.pass_starts.clear();
  core.pass_starts.push_back(clock_seconds());

  core.backend->pump(core);
  if (core.input.take_activation_change()) {
    core.pages->marks().mark_all();
    set_priority(core.input.active());
  }
  if (core.input.active()) core.input.sample_keys(core.backend->held_keys());
  RowMarks& marks = core.pages->marks();
  if (marks.any()) {
    core.backend->present(core.pages->visible_page(), marks);
    marks.clear();
  }
}

}  // namespace

void run_presentation(DisplayCore& core, int depth, bool full_screen, std::string caption,
                      std::promise<bool> opened) {
  const bool ok = core.backend->open(depth, full_screen, caption);
  opened.set_value(ok);
  if (!ok) return;

  auto next = std::chrono::steady_clock::now();
  while (!core.stopping.load(std::memory_order_acquire)) {
    {
      DisplayLockGuard hold(core.lock);
      run_pass(core);
    }
    next += pass_period;
    const auto now = std::chrono::steady_clock::now();
    if (next < now) next = now;
    std::this_thread::sleep_until(next);
  }
  core.backend->close();
  set_priority(false);
}

}  // namespace kv
