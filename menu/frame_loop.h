#pragma once

namespace kv {

// What one pass of the frame loop needs from the platform. The program runs the
// loop on the real display; tests run it on a scripted clock, pointer and key.
class FramePlatform {
 public:
  virtual ~FramePlatform() = default;
  // The pointer position over the window, or (-1, -1) when it is not there.
  virtual void pointer_position(int& x, int& y) = 0;
  virtual bool escape_held() = 0;
  virtual double clock() = 0;
  virtual void select_pages(int work, int visible) = 0;
  // Draws one frame on the work page with the cursor image's top-left at (x, y).
  virtual void compose_frame(int cursor_x, int cursor_y) = 0;
};

inline constexpr double frame_interval = 0.03;

// Polls the pointer and Escape as fast as it can and draws a frame on the
// hidden page whenever frame_interval has passed; returns once Escape was seen.
void run_frame_loop(FramePlatform& platform, double last_frame_time);

}  // namespace kv
