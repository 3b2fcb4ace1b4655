#include "platform/display/fair_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kv {
namespace {

TEST(FairRecursiveLock, IsRecursiveAndCanBeDroppedWhole) {
  FairRecursiveLock lock;
  lock.lock();
  lock.lock();
  EXPECT_TRUE(lock.held_by_this_thread());
  lock.unlock();
  EXPECT_TRUE(lock.held_by_this_thread());
  lock.lock();
  lock.release_if_held();
  EXPECT_FALSE(lock.held_by_this_thread());
  lock.release_if_held();  // holding nothing: nothing to drop

  std::thread other([&] {
    DisplayLockGuard hold(lock);
    EXPECT_TRUE(lock.held_by_this_thread());
  });
  other.join();
}

// A thread that retakes the lock at once must queue behind one already waiting.
TEST(FairRecursiveLock, AWaitingThreadGoesBeforeOneThatRetakesTheLock) {
  FairRecursiveLock lock;
  std::atomic<bool> waiter_had_it{false};
  lock.lock();
  std::thread waiter([&] {
    DisplayLockGuard hold(lock);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    waiter_had_it = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  lock.unlock();
  lock.lock();
  EXPECT_TRUE(waiter_had_it);
  lock.unlock();
  waiter.join();
}

TEST(FairRecursiveLock, ExcludesOtherThreads) {
  FairRecursiveLock lock;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 100000; ++i) {
      DisplayLockGuard outer(lock);
      DisplayLockGuard inner(lock);
      ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 200000);
}

}  // namespace
}  // namespace kv
