#include "platform/console/key_ring.h"

namespace kv {

void KeyRing::push(int code) {
  codes_[tail_] = code;
  tail_ = (tail_ + 1) % slots;
  if (tail_ == head_) head_ = (head_ + 1) % slots;
}

std::optional<int> KeyRing::pop() {
  if (head_ == tail_) return std::nullopt;
  int code = codes_[head_];
  head_ = (head_ + 1) % slots;
  return code;
}

bool KeyRing::take_through(int code) {
  for (std::size_t at = head_; at != tail_; at = (at + 1) % slots) {
    if (codes_[at] == code) {
      head_ = (at + 1) % slots;
      return true;
    }
  }
  return false;
}

}  // namespace kv
