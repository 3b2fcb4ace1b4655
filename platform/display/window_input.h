#pragma once

#include <array>
#include <cstdint>

#include "platform/display/display.h"

namespace kv {

// What the window has told the presentation thread about the pointer and the
// keyboard, and the rules by which the program's queries read it.
class WindowInput {
 public:
  void set_focused(bool focused) { change_activation(focused, minimised_); }
  void set_minimised(bool minimised) { change_activation(focused_, minimised); }
  void set_inside(bool inside) { inside_ = inside; }
  void moved_to(int x, int y);
  void button(int bit, bool down);
  void wheel_turned(int direction);
  void set_confined(bool confined) { confined_ = confined; }

  bool active() const { return focused_ && !minimised_; }
  // Fails, with every output -1, unless the window is active and the
  // pointer was over its client area at the last event.
  bool query(PointerState& pointer) const;

  // Scan codes held now; ignored while the window is inactive.
  void sample_keys(const std::array<bool, 128>& held);
  int key_state(int scan_code) const;

  // True once per activation change since the last call: every row must be presented again.
  bool take_activation_change();

 private:
  void change_activation(bool focused, bool minimised);

  bool focused_ = false;
  bool minimised_ = false;
  bool inside_ = false;
  bool confined_ = false;
  bool activation_changed_ = false;
  int x_ = 0, y_ = 0, wheel_ = 0, buttons_ = 0;
  std::array<bool, 128> keys_{};
};

}  // namespace kv
