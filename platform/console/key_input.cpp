#include "platform/console/key_input.h"

#include <poll.h>
#include <unistd.h>

#include <thread>

#include "platform/console/key_decoder.h"
#include "platform/error.h"

namespace kv {
namespace {
constexpr int look_interval_ms = 50;
}

int KeyInput::read_key() {
  for (;;) {
    {
      std::lock_guard lock(ring_mutex_);
      if (auto code = ring_.pop()) return *code;
    }
    take_input(look_interval_ms);
  }
}

bool KeyInput::escape_typed() {
  take_input(0);
  std::lock_guard lock(ring_mutex_);
  return ring_.take_through(27);
}

void KeyInput::push(int code) {
  std::lock_guard lock(ring_mutex_);
  ring_.push(code);
}

void KeyInput::take_input(int wait_ms) {
  unsigned char bytes[256];
  pollfd input{fd_, POLLIN, 0};
  int ready = fd_ >= 0 ? poll(&input, 1, wait_ms) : -1;
  ssize_t count = ready > 0 ? read(fd_, bytes, sizeof bytes) : 0;
  if (fd_ >= 0 && (ready < 0 || count < 0)) set_error(errno);
  // No input, or one that fails at once for ever (end of file, hang-up): sleep, never spin.
  if (ready != 0 && count <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));

  auto now = std::chrono::steady_clock::now();
  if (count > 0) {
    pending_.insert(pending_.end(), bytes, bytes + count);
    last_bytes_ = now;
  }
  bool paused = count <= 0 && now - last_bytes_ >= std::chrono::milliseconds(look_interval_ms);
  std::size_t used = 0;
  while (used < pending_.size()) {
    DecodedKey key = decode_key(std::span(pending_).subspan(used), paused);
    if (key.length == 0) break;
    used += key.length;
    if (key.code != no_key) push(key.code);
  }
  pending_.erase(pending_.begin(), pending_.begin() + used);
}

}  // namespace kv
