#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace kv {

// The display lock. Recursive, and fair by tickets: the program's thread polls
// the pointer and keys in a tight loop, and a plain mutex would let it retake
// the lock before the waiting presentation thread ever woke up.
class FairRecursiveLock {
 public:
  void lock();
  void unlock();
  bool held_by_this_thread() const;
  // Drops every level this thread holds; nothing when it holds none.
  void release_if_held();

 private:
  void hand_on();

  std::atomic<std::uint32_t> next_ticket_{0};
  std::atomic<std::uint32_t> now_serving_{0};
  std::atomic<std::thread::id> owner_{};
  int depth_ = 0;  // touched only by the owner
};

// Scoped holding of a FairRecursiveLock.
class DisplayLockGuard {
 public:
  explicit DisplayLockGuard(FairRecursiveLock& lock) : lock_(lock) { lock_.lock(); }
  ~DisplayLockGuard() { lock_.unlock(); }
  DisplayLockGuard(const DisplayLockGuard&) = delete;
  DisplayLockGuard& operator=(const DisplayLockGuard&) = delete;

 private:
  FairRecursiveLock& lock_;
};

}  // namespace kv
