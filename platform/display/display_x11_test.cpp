#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/display/display.h"
#include "platform/display/display_testing.h"
#include "tests/support/x_client.h"

namespace kv {
namespace {

using xtest::Rect;
using xtest::XClient;

constexpr const char* title = "Kestovaria";

std::uint32_t shown(const PixelView& page, int x, int y) {
  if (page.bytes_per_pixel == 4) return reinterpret_cast<const std::uint32_t*>(page.row(y))[x] & 0xFFFFFF;
  const std::uint32_t p = reinterpret_cast<const std::uint16_t*>(page.row(y))[x];
  return (p & 0xF800) << 8 | (p & 0x07E0) << 5 | (p & 0x1F) << 3;
}

// A picture every pixel of which differs from its neighbours.
Image pattern(int width, int height) {
  auto image = create_image(width, height);
  EXPECT_TRUE(image.has_value());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = 0xFF000000u | (x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 |
                                   ((x + y) * 3 & 0xFF);
      if (image->bytes_per_pixel() == 2)
        reinterpret_cast<std::uint16_t*>(image->row(y))[x] = colour_to_16(colour);
      else
        reinterpret_cast<std::uint32_t*>(image->row(y))[x] = colour;
    }
  return std::move(*image);
}

std::size_t thread_count() {
  // Sanitizer runtimes start a thread of their own at the first thread creation;
  // one made and joined here keeps that out of the counts compared.
  static const bool warmed_up = [] {
    std::thread([] {}).join();
    return true;
  }();
  (void)warmed_up;
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
    ++count;
  return count;
}

class X11Display : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(x_.connected()) << "no X server in DISPLAY (scripts/test.sh starts one)";
  }
  void TearDown() override { close_display(); }

  Window open_window(int depth, int full_screen = 0) {
    EXPECT_EQ(open_display(800, 600, depth, 2, full_screen, 0), 0);
    set_title(title);
    const auto window = x_.find_window(title);
    EXPECT_TRUE(window.has_value());
    return window.value_or(None);
  }

  // Compares the whole client area with page `index` as it should be shown.
  void expect_screen_shows(Window window, int index) {
    const auto page_bytes = testing::page_pixels(index);
    ASSERT_FALSE(page_bytes.empty());
    const int bytes_per_pixel = static_cast<int>(page_bytes.size() / (800 * 600));
    const PixelView page{const_cast<std::uint8_t*>(page_bytes.data()), 800 * bytes_per_pixel, 800,
                         600, bytes_per_pixel};
    std::vector<std::uint32_t> screen;
    const bool same = xtest::wait_until([&] {
      screen = x_.read_pixels(window, {0, 0, 800, 600});
      for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
          if (screen[y * 800 + x] != shown(page, x, y)) return false;
      return true;
    }, 2.0);
    if (!same) {
      for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
          if (screen[y * 800 + x] != shown(page, x, y)) {
            ADD_FAILURE() << "first difference at " << x << "," << y << ": screen " << std::hex
                          << screen[y * 800 + x] << ", page " << shown(page, x, y);
            return;
          }
    }
  }

  XClient x_;
};

TEST_F(X11Display, TheWindowIsCaptionedSizedAndCentred) {
  ASSERT_EQ(open_display(800, 600, 32, 2, 0, 0), 0);
  const auto first = x_.find_window("display_x11_tests");  // the executable's name
  ASSERT_TRUE(first.has_value());

  set_title(title);
  const auto window = x_.find_window(title);
  ASSERT_TRUE(window.has_value());
  const Rect client = x_.client_geometry(*window);
  EXPECT_EQ(client.width, 800);
  EXPECT_EQ(client.height, 600);
  const Rect screen = x_.screen();
  const Rect frame = x_.frame_geometry(*window);
  EXPECT_EQ(frame.x, (screen.width - 800) / 2);
  EXPECT_EQ(frame.y, (screen.height - 600) / 2);
  EXPECT_GT(client.y, frame.y) << "a title bar above the client area";

  set_title(std::string(200, 'k'));
  EXPECT_TRUE(x_.find_window(std::string(127, 'k')).has_value());
}

TEST_F(X11Display, ATitleSetBeforeOpeningIsTheFirstCaption) {
  set_title("Remembered caption");
  ASSERT_EQ(open_display(800, 600, 16, 2, 0, 0), 0);
  EXPECT_TRUE(x_.find_window("Remembered caption").has_value());
}

// Depth, and whether presentation goes through the window surface rather than the renderer.
class X11Presentation : public X11Display,
                        public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(X11Presentation, TheScreenShowsTheVisiblePage) {
  const auto [depth, surface] = GetParam();
  if (surface) {
    ASSERT_EQ(testing::open_surface_display(depth), 0);
    set_title(title);
  }
  const Window window = surface ? x_.find_window(title).value_or(None) : open_window(depth);
  ASSERT_NE(window, None);
  x_.move_pointer(0, 0);
  expect_screen_shows(window, 0);

  select_pages(1, 0);
  const Image picture = pattern(300, 200);
  ASSERT_TRUE(keyed_copy(picture, 20, 30));
  ASSERT_TRUE(draw_text(400, 500, "Kestovaria", 0xFFFFFFFF));
  select_pages(0, 1);
  expect_screen_shows(window, 1);

  select_pages(1, 1);  // drawing on the visible page shows at once
  ASSERT_TRUE(keyed_copy(picture, 500, 590));
  expect_screen_shows(window, 1);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndMethods, X11Presentation,
                         ::testing::Combine(::testing::Values(16, 32), ::testing::Values(false, true)));

TEST_F(X11Display, ACloseRequestQueuesItsKeyAndTheWindowStays) {
  const Window window = open_window(32);
  ASSERT_NE(window, None);
  while (testing::pop_window_key()) {
  }
  testing::queued_close_notices();
  x_.request_close(window);
  ASSERT_TRUE(xtest::wait_until([] { return testing::queued_close_notices() == 1; }));
  EXPECT_EQ(testing::pop_window_key(), 27647);
  testing::wait_for_passes(5);
  EXPECT_TRUE(display_is_open());
  EXPECT_EQ(x_.windows_named(title).size(), 1u);
}

TEST_F(X11Display, PointerAndKeysComeFromTheActiveWindow) {
  const Window window = open_window(32);
  ASSERT_NE(window, None);
  x_.focus(window);
  const Rect client = x_.client_geometry(window);
  x_.move_pointer(client.x + 123, client.y + 45);
  PointerState pointer;
  ASSERT_TRUE(xtest::wait_until([&] { return query_pointer(pointer) && pointer.x == 123; }));
  EXPECT_EQ(pointer.y, 45);
  EXPECT_EQ(pointer.buttons, 0);
  EXPECT_EQ(pointer.confinement, 0);

  x_.key("Escape", true);
  EXPECT_TRUE(xtest::wait_until([] { return key_state(1) == -1; }));
  x_.key("Escape", false);
  EXPECT_TRUE(xtest::wait_until([] { return key_state(1) == 0; }));
  x_.key("Control_R", true);
  EXPECT_TRUE(xtest::wait_until([] { return key_state(0x1D) == -1; }));
  x_.key("Control_R", false);

  x_.move_pointer(client.x - 5, client.y - 5);  // onto the title bar
  EXPECT_TRUE(xtest::wait_until([&] { return !query_pointer(pointer); }));
  EXPECT_EQ(pointer.x, -1);
  EXPECT_EQ(pointer.y, -1);
}

TEST_F(X11Display, AMinimisedWindowReleasesKeysAndFailsPointerQueries) {
  const Window window = open_window(32);
  ASSERT_NE(window, None);
  x_.focus(window);
  const Rect client = x_.client_geometry(window);
  x_.move_pointer(client.x + 10, client.y + 10);
  x_.key("Escape", true);
  PointerState pointer;
  ASSERT_TRUE(xtest::wait_until([&] { return key_state(1) == -1 && query_pointer(pointer); }));

  x_.minimise(window);
  EXPECT_TRUE(xtest::wait_until([&] { return key_state(1) == 0 && !query_pointer(pointer); }));
  x_.key("Escape", false);
  EXPECT_EQ(pointer.x, -1);
}

TEST_F(X11Display, AHiddenPointerIsHiddenOverTheClientAreaOnly) {
  const Window window = open_window(32);
  ASSERT_NE(window, None);
  const Rect client = x_.client_geometry(window);
  const auto over_client = [&] { x_.move_pointer(client.x + 400, client.y + 300); };
  const auto over_title_bar = [&] { x_.move_pointer(client.x + 400, client.y - 8); };
  over_client();
  EXPECT_TRUE(xtest::wait_until([&] { return x_.pointer_shown(); }));

  ASSERT_TRUE(set_pointer(-1, -1, 0, -1));
  EXPECT_TRUE(xtest::wait_until([&] { return !x_.pointer_shown(); }));
  over_title_bar();
  EXPECT_TRUE(xtest::wait_until([&] { return x_.pointer_shown(); }));
  over_client();
  EXPECT_TRUE(xtest::wait_until([&] { return !x_.pointer_shown(); }));

  ASSERT_TRUE(set_pointer(-1, -1, 1, -1));
  EXPECT_TRUE(xtest::wait_until([&] { return x_.pointer_shown(); }));
}

TEST_F(X11Display, AConfinedPointerStaysInTheClientAreaUntilFreedOrClosed) {
  const Window window = open_window(32);
  ASSERT_NE(window, None);
  x_.focus(window);
  const Rect client = x_.client_geometry(window);
  x_.move_pointer(client.x + 100, client.y + 100);
  const auto inside = [&] {
    const auto [x, y] = x_.pointer_position();
    return x >= client.x && x < client.x + 800 && y >= client.y && y < client.y + 600;
  };
  ASSERT_TRUE(xtest::wait_until(inside));

  ASSERT_TRUE(set_pointer(-1, -1, -1, 1));
  PointerState pointer;
  ASSERT_TRUE(xtest::wait_until([&] { return query_pointer(pointer) && pointer.confinement == 1; }));
  x_.move_pointer(5, 5);
  testing::wait_for_passes(3);
  EXPECT_TRUE(inside());

  ASSERT_TRUE(set_pointer(-1, -1, -1, 0));
  EXPECT_TRUE(xtest::wait_until([&] {
    x_.move_pointer(5, 5);
    return !inside();
  }));

  x_.move_pointer(client.x + 100, client.y + 100);
  ASSERT_TRUE(set_pointer(-1, -1, -1, 1));
  testing::wait_for_passes(3);
  close_display();  // lifts the confinement
  EXPECT_TRUE(xtest::wait_until([&] {
    x_.move_pointer(5, 5);
    return !inside();
  }));
}

TEST_F(X11Display, AFullScreenRequestThatCannotBeMetEndsInAWindow) {
  // This server has a single mode, not 800 pixels wide.
  const Window window = open_window(16, 1);
  ASSERT_NE(window, None);
  const Rect client = x_.client_geometry(window);
  EXPECT_EQ(client.width, 800);
  EXPECT_EQ(client.height, 600);
  EXPECT_EQ(x_.frame_geometry(window).x, (x_.screen().width - 800) / 2);
}

TEST_F(X11Display, WithoutAnXServerOpeningFailsAndLeavesNothing) {
  const std::string display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const std::string wayland_display = wayland ? wayland : "";
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  set_title("Nowhere");
  const auto threads_before = thread_count();
  const int opened = open_display(800, 600, 32, 2, 0, 0);
  EXPECT_EQ(thread_count(), threads_before);
  setenv("DISPLAY", display.c_str(), 1);
  if (wayland) setenv("WAYLAND_DISPLAY", wayland_display.c_str(), 1);
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(display_is_open());
  EXPECT_EQ(select_pages(0, 0), -1);
  EXPECT_TRUE(x_.windows_named("Nowhere").empty());
}

TEST_F(X11Display, TheExitStepClosesTheWindow) {
  const pid_t child = fork();
  if (child == 0) {
    if (open_display(800, 600, 32, 2, 0, 0) != 0) _exit(2);
    set_title("Exit step");
    usleep(500000);
    std::exit(0);
  }
  EXPECT_TRUE(x_.find_window("Exit step", 5.0, 0.1).has_value());
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(x_.windows_named("Exit step").empty());
}

}  // namespace
}  // namespace kv
