#include "platform/display/window_input.h"

#include <algorithm>
#include <utility>

#include "platform/display/page_set.h"

namespace kv {

void WindowInput::moved_to(int x, int y) {
  x_ = std::clamp(x, 0, page_width - 1);
  y_ = std::clamp(y, 0, page_height - 1);
}

void WindowInput::button(int bit, bool down) {
  if (!active()) return;
  buttons_ = down ? (buttons_ | bit) : (buttons_ & ~bit);
}

void WindowInput::wheel_turned(int direction) {
  if (direction != 0) wheel_ += direction > 0 ? 1 : -1;
}

bool WindowInput::query(PointerState& pointer) const {
  if (!active() || !inside_) {
    pointer = {-1, -1, -1, -1, -1};
    return false;
  }
  pointer = {x_, y_, wheel_, buttons_, confined_ ? 1 : 0};
  return true;
}

void WindowInput::sample_keys(const std::array<bool, 128>& held) {
  if (active()) keys_ = held;
}

int WindowInput::key_state(int scan_code) const {
  if (scan_code < 0 || scan_code > 127) return 0;
  return keys_[scan_code] ? -1 : 0;
}

bool WindowInput::take_activation_change() {
  return std::exchange(activation_changed_, false);
}

void WindowInput::change_activation(bool focused, bool minimised) {
  if (focused == focused_ && minimised == minimised_) return;
  focused_ = focused;
  minimised_ = minimised;
  keys_.fill(false);
  buttons_ = 0;
  activation_changed_ = true;
}

}  // namespace kv
