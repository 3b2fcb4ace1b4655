#include "menu/frame_loop.h"

namespace kv {

void run_frame_loop(FramePlatform& platform, double last_frame_time) {
  int page = 0;
  bool quit = false;
  while (!quit) {
    int x = 0;
    int y = 0;
    platform.pointer_position(x, y);
    // The cursor image is 48 × 48 with its hot spot in the middle.
    x -= 24;
    y -= 24;
    // The pass that sees Escape still draws its frame; the next check ends the loop.
    if (platform.escape_held()) quit = true;
    // Busy polling is deliberate: the pointer and Escape are sampled as often as possible.
    if (platform.clock() < last_frame_time + frame_interval) continue;
    // A fresh reading, so a frame that takes long pushes the next one back
    // instead of causing a burst.
    last_frame_time = platform.clock();
    platform.select_pages(page, 1 - page);
    platform.compose_frame(x, y);
    page = 1 - page;
  }
}

}  // namespace kv
