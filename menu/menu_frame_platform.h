#pragma once

#include "menu/frame_loop.h"
#include "menu/set_up.h"

namespace kv {

// The frame loop's platform on the real display, drawing the menu screen.
class MenuFramePlatform : public FramePlatform {
 public:
  explicit MenuFramePlatform(const MenuScreen& screen) : screen_(screen) {}

  void pointer_position(int& x, int& y) override;
  bool escape_held() override;
  double clock() override;
  void select_pages(int work, int visible) override;
  void compose_frame(int cursor_x, int cursor_y) override;

 private:
  const MenuScreen& screen_;
};

}  // namespace kv
