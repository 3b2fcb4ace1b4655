// The frame loop on the real display layer, its presentation thread running
// beside it, as scripts/test.sh also runs it under ThreadSanitizer.
#include <gtest/gtest.h>

#include <thread>

#include "menu/frame_loop.h"
#include "menu/menu_frame_platform.h"
#include "platform/clock.h"
#include "platform/display/display.h"
#include "platform/display/display_testing.h"

namespace kv {
namespace {

constexpr int escape_scan_code = 1;

TEST(MenuScreenThreads, TheLoopRunsBesidePresentationUntilEscapeIsHeld) {
  for (const int depth : {16, 32}) {
    ASSERT_EQ(testing::open_memory_display(depth), 0);
    MenuScreen screen;
    screen.menu = create_image(800, 600);
    screen.cursor = create_image(48, 48);
    ASSERT_TRUE(screen.menu && screen.cursor);
    // A white picture, so every frame changes the page.
    for (int y = 0; y < 600; ++y) std::fill_n(screen.menu->row(y), screen.menu->stride(), 0xFF);
    screen.last_frame_time = clock_seconds();

    // The window reports a pointer in motion, then Escape held, from another thread.
    std::thread window([] {
      testing::MemoryWindow state;
      for (int step = 0; step < 30; ++step) {
        state.x = 10 * step;
        state.y = 5 * step;
        testing::feed_memory_window(state);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      state.keys[escape_scan_code] = true;
      testing::feed_memory_window(state);
    });
    MenuFramePlatform platform(screen);
    run_frame_loop(platform, screen.last_frame_time);
    window.join();

    // Frames were drawn on both pages, and the presentation thread showed them.
    for (const int page : {0, 1}) {
      const auto pixels = testing::page_pixels(page);
      EXPECT_NE(pixels[600 * 400 * depth / 8 + 100], 0) << "page " << page << " at depth " << depth;
    }
    EXPECT_GT(testing::presented_rows(), 600);
    close_display();
  }
}

}  // namespace
}  // namespace kv
