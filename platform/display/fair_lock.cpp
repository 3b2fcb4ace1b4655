#include "platform/display/fair_lock.h"

namespace kv {

void FairRecursiveLock::lock() {
  const auto me = std::this_thread::get_id();
  if (owner_.load(std::memory_order_relaxed) == me) {
    ++depth_;
    return;
  }
  const std::uint32_t ticket = next_ticket_.fetch_add(1, std::memory_order_relaxed);
  for (;;) {
    const std::uint32_t serving = now_serving_.load(std::memory_order_acquire);
    if (serving == ticket) break;
    now_serving_.wait(serving, std::memory_order_acquire);
  }
  owner_.store(me, std::memory_order_relaxed);
  depth_ = 1;
}

void FairRecursiveLock::unlock() {
  if (--depth_ == 0) hand_on();
}

bool FairRecursiveLock::held_by_this_thread() const {
  return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

void FairRecursiveLock::release_if_held() {
  if (!held_by_this_thread()) return;
  depth_ = 0;
  hand_on();
}

void FairRecursiveLock::hand_on() {
  owner_.store(std::thread::id{}, std::memory_order_relaxed);
  now_serving_.fetch_add(1, std::memory_order_release);
  now_serving_.notify_all();
}

}  // namespace kv
