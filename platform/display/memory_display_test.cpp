#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/display/display.h"
#include "platform/display/display_core.h"
#include "platform/display/display_testing.h"

namespace kv {
namespace {

// A display without a window, open for one test.
class MemoryDisplay : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { ASSERT_EQ(testing::open_memory_display(GetParam()), 0); }
  void TearDown() override { close_display(); }

  // A solid image of one colour at the display's depth.
  Image solid(int width, int height, std::uint32_t colour) {
    auto image = create_image(width, height);
    EXPECT_TRUE(image.has_value());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        if (image->bytes_per_pixel() == 2)
          reinterpret_cast<std::uint16_t*>(image->row(y))[x] = colour_to_16(colour);
        else
          reinterpret_cast<std::uint32_t*>(image->row(y))[x] = colour;
      }
    return std::move(*image);
  }

  // The page as the screen should show it.
  static std::vector<std::uint32_t> as_shown(const std::vector<std::uint8_t>& page, int depth) {
    std::vector<std::uint32_t> screen(800 * 600);
    for (std::size_t i = 0; i < screen.size(); ++i) {
      if (depth == 32) {
        std::memcpy(&screen[i], &page[i * 4], 4);
      } else {
        std::uint16_t p;
        std::memcpy(&p, &page[i * 2], 2);
        screen[i] = 0xFF000000u | (p & 0xF800u) << 8 | (p & 0x07E0u) << 5 | (p & 0x1Fu) << 3;
      }
    }
    return screen;
  }
};

TEST_P(MemoryDisplay, OpensBlackOnPageZeroAndPresentsIt) {
  EXPECT_TRUE(display_is_open());
  EXPECT_EQ(testing::current_selection(), 0);
  testing::wait_for_passes(2);
  const auto screen = testing::memory_screen();
  ASSERT_EQ(screen.size(), 800u * 600u);
  for (std::uint32_t pixel : screen) ASSERT_EQ(pixel, 0xFF000000u);
}

TEST_P(MemoryDisplay, DrawingOnTheHiddenPageShowsAfterTheSwitch) {
  testing::wait_for_passes(2);
  const long rows_before = testing::presented_rows();
  ASSERT_EQ(select_pages(1, 0), 0);
  const Image image = solid(30, 20, 0xFFFFFFFF);
  ASSERT_TRUE(keyed_copy(image, 100.4f, 50.6f));
  testing::wait_for_passes(2);
  EXPECT_EQ(testing::presented_rows(), rows_before);  // nothing visible changed

  EXPECT_EQ(select_pages(0, 1), 1);
  testing::wait_for_passes(2);
  EXPECT_EQ(testing::presented_rows(), rows_before + 600);
  const auto page = testing::page_pixels(1);
  const auto screen = testing::memory_screen();
  EXPECT_EQ(screen, as_shown(page, GetParam()));
  EXPECT_EQ(screen[51 * 800 + 100], GetParam() == 16 ? 0xFFF8FCF8u : 0xFFFFFFFFu);
  EXPECT_EQ(screen[51 * 800 + 99], 0xFF000000u);
  EXPECT_EQ(screen[70 * 800 + 129], screen[51 * 800 + 100]);
  EXPECT_EQ(screen[71 * 800 + 129], 0xFF000000u);
}

TEST_P(MemoryDisplay, DrawingOnTheVisiblePagePresentsOnlyTheTouchedRows) {
  testing::wait_for_passes(2);
  const long rows_before = testing::presented_rows();
  const Image image = solid(10, 7, 0xFF00FF00);
  ASSERT_TRUE(blend_copy(image, 5.0f, 596.0f, 255));  // 4 rows on the page
  ASSERT_TRUE(draw_text(0.0f, -3.0f, "A", 0xFFFFFFFF));  // 5 rows on the page
  testing::wait_for_passes(2);
  EXPECT_EQ(testing::presented_rows(), rows_before + 9);
  EXPECT_EQ(testing::memory_screen(), as_shown(testing::page_pixels(0), GetParam()));
}

TEST_P(MemoryDisplay, DrawingRefusesAnImageOfTheOtherDepth) {
  const auto other = Image::create(4, 4, GetParam() == 16 ? 32 : 16);
  ASSERT_TRUE(other.has_value());
  EXPECT_FALSE(keyed_copy(*other, 0, 0));
  EXPECT_FALSE(blend_copy(*other, 0, 0, 128));
  EXPECT_EQ(testing::page_pixels(0), testing::page_pixels(1));
}

TEST_P(MemoryDisplay, PointerAndKeysFollowTheWindow) {
  testing::MemoryWindow window;
  window.x = 120;
  window.y = 340;
  window.keys[1] = true;
  testing::feed_memory_window(window);
  testing::wait_for_passes(2);
  PointerState pointer;
  ASSERT_TRUE(query_pointer(pointer));
  EXPECT_EQ(pointer.x, 120);
  EXPECT_EQ(pointer.y, 340);
  EXPECT_EQ(pointer.confinement, 0);
  EXPECT_EQ(key_state(1), -1);
  EXPECT_EQ(key_state(2), 0);

  window.focused = false;
  testing::feed_memory_window(window);
  testing::wait_for_passes(2);
  EXPECT_FALSE(query_pointer(pointer));
  EXPECT_EQ(pointer.x, -1);
  EXPECT_EQ(pointer.confinement, -1);
  EXPECT_EQ(key_state(1), 0);  // released at deactivation, not sampled while inactive
}

TEST_P(MemoryDisplay, PointerSettingIsCarriedOutByThePresentationThread) {
  ASSERT_TRUE(set_pointer(-1, 77, 0, -1));  // hide only
  testing::wait_for_passes(2);
  auto effect = testing::memory_pointer_effect();
  EXPECT_TRUE(effect.hidden);
  EXPECT_FALSE(effect.confined);
  EXPECT_FALSE(effect.moved_to.has_value());

  ASSERT_TRUE(set_pointer(10, 20, -1, 1));
  testing::wait_for_passes(2);
  effect = testing::memory_pointer_effect();
  EXPECT_TRUE(effect.hidden);
  EXPECT_TRUE(effect.confined);
  EXPECT_EQ(effect.moved_to, (std::array{10, 20}));
  PointerState pointer;
  ASSERT_TRUE(query_pointer(pointer));
  EXPECT_EQ(pointer.x, 10);
  EXPECT_EQ(pointer.confinement, 1);

  ASSERT_TRUE(set_pointer(-1, -1, 1, 0));
  testing::wait_for_passes(2);
  effect = testing::memory_pointer_effect();
  EXPECT_FALSE(effect.hidden);
  EXPECT_FALSE(effect.confined);
}

TEST_P(MemoryDisplay, ACloseRequestQueuesItsKeyAndNoticeAndTheWindowStays) {
  for (int i = 0; i < 20; ++i) testing::feed_memory_close_request();
  testing::wait_for_passes(2);
  EXPECT_TRUE(display_is_open());
  int keys = 0;
  while (auto key = testing::pop_window_key()) {
    EXPECT_EQ(*key, 27647);
    ++keys;
  }
  EXPECT_EQ(keys, 15);
  EXPECT_EQ(testing::queued_close_notices(), 20);
}

TEST_P(MemoryDisplay, ClosingReleasesALockTheProgramStillHolds) {
  display_core().lock.lock();
  display_core().lock.lock();
  close_display();
  EXPECT_FALSE(display_core().lock.held_by_this_thread());
  EXPECT_FALSE(display_is_open());
}

TEST_P(MemoryDisplay, ClosingWhileTheProgramDrawsLeavesItWithoutADisplay) {
  const Image image = solid(48, 48, 0xFF123456);
  std::atomic<bool> closed{false};
  std::atomic<long> draws_after_close{0};
  std::thread program([&] {
    for (;;) {
      const bool was_closed = closed.load();
      const bool drew = keyed_copy(image, 10, 10) && draw_text(0, 0, "x", 0xFFFFFFFF);
      select_pages(1, 0);
      select_pages(0, 1);
      PointerState pointer;
      query_pointer(pointer);
      key_state(1);
      if (was_closed) {
        EXPECT_FALSE(drew);
        if (++draws_after_close == 100) return;
      }
    }
  });
  testing::wait_for_passes(5);
  close_display();
  closed = true;
  program.join();
  EXPECT_EQ(select_pages(0, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(Depths, MemoryDisplay, ::testing::Values(16, 32));

TEST(NoDisplay, EveryCallDoesNothing) {
  ASSERT_FALSE(display_is_open());
  EXPECT_EQ(select_pages(1, 1), -1);
  EXPECT_FALSE(create_image(48, 48).has_value());
  const auto image = Image::create(8, 8, 32);
  EXPECT_FALSE(keyed_copy(*image, 0, 0));
  EXPECT_FALSE(blend_copy(*image, 0, 0, 255));
  EXPECT_FALSE(draw_text(0, 0, "x", 0));
  EXPECT_FALSE(set_pointer(1, 1, 0, 1));
  PointerState pointer{5, 5, 5, 5, 5};
  EXPECT_FALSE(query_pointer(pointer));
  EXPECT_EQ(pointer.x, -1);
  EXPECT_EQ(pointer.y, -1);
  EXPECT_EQ(pointer.wheel, -1);
  EXPECT_EQ(pointer.buttons, -1);
  EXPECT_EQ(pointer.confinement, 0);
  for (int code : {2, 0x1C, 200}) EXPECT_EQ(key_state(code), 0);
  close_display();  // closing twice is harmless
}

TEST(NoDisplay, OpeningAgainAfterClosingWorks) {
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(testing::open_memory_display(round % 2 ? 16 : 32), 0);
    EXPECT_EQ(testing::open_memory_display(16), 1);  // already open
    EXPECT_EQ(select_pages(1, 1), 0);
    close_display();
  }
  EXPECT_EQ(open_display(640, 480, 16, 2, 0, 0), 1);
  EXPECT_EQ(open_display(800, 600, 24, 2, 0, 0), 1);
  EXPECT_FALSE(display_is_open());
}

}  // namespace
}  // namespace kv
