#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <optional>

namespace kv {

// A ring that keeps at most N − 1 entries and drops the oldest when full.
template <typename T, std::size_t N>
class DroppingRing {
 public:
  void push(T value) {
    slots_[tail_] = value;
    tail_ = (tail_ + 1) % N;
    if (tail_ == head_) head_ = (head_ + 1) % N;
  }
  std::optional<T> pop() {
    if (head_ == tail_) return std::nullopt;
    T value = slots_[head_];
    head_ = (head_ + 1) % N;
    return value;
  }
  std::size_t size() const { return (tail_ + N - head_) % N; }

 private:
  std::array<T, N> slots_{};
  std::size_t head_ = 0, tail_ = 0;
};

// Key codes the window queues for the program (only the close request does).
using KeyBuffer = DroppingRing<int, 16>;

inline constexpr int close_request_key = 27647;

enum class WindowNotice { close };

// Window notices; it has its own lock, apart from the display lock.
class EventQueue {
 public:
  void push(WindowNotice notice) {
    std::lock_guard hold(mutex_);
    ring_.push(notice);
  }
  std::optional<WindowNotice> pop() {
    std::lock_guard hold(mutex_);
    return ring_.pop();
  }

 private:
  std::mutex mutex_;
  DroppingRing<WindowNotice, 128> ring_;
};

}  // namespace kv
