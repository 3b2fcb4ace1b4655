#pragma once

#include <chrono>
#include <mutex>
#include <vector>

#include "platform/console/key_ring.h"

namespace kv {

// Keys typed on one terminal: its bytes are read, decoded and kept in a ring.
// read_key and escape_typed belong to one thread; push may come from any.
class KeyInput {
 public:
  // fd < 0: a console without input, whose keys never come.
  explicit KeyInput(int fd) : fd_(fd) {}

  // Waits for the next key, looking at the input every 50 ms.
  int read_key();
  // Takes what input is pending, without waiting; true when an Escape was
  // among the keys, which are then consumed up to and including it.
  bool escape_typed();
  void push(int code);

 private:
  void take_input(int wait_ms);

  const int fd_;
  std::vector<unsigned char> pending_;  // bytes of a key not yet complete
  std::chrono::steady_clock::time_point last_bytes_{};
  std::mutex ring_mutex_;
  KeyRing ring_;
};

}  // namespace kv
