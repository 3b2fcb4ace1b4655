#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/console/console.h"
#include "platform/display/display.h"
#include "platform/display/display_testing.h"
#include "tests/support/x_client.h"

namespace kv {
namespace {

using xtest::Rect;
using xtest::XClient;

std::uint32_t shown(const std::vector<std::uint8_t>& page, int depth, int x, int y) {
  const std::size_t i = static_cast<std::size_t>(y) * 800 + x;
  if (depth == 32) return (page[i * 4] | page[i * 4 + 1] << 8 | page[i * 4 + 2] << 16);
  const std::uint32_t p = page[i * 2] | page[i * 2 + 1] << 8;
  return (p & 0xF800) << 8 | (p & 0x07E0) << 5 | (p & 0x1F) << 3;
}

// Full screen on an Xorg server that can switch modes, named by the test command.
class FullScreen : public ::testing::TestWithParam<int> {
 protected:
  // Tests return at once when this fails them.
  void open_on(const char* variable) {
    const char* display = std::getenv(variable);
    ASSERT_TRUE(display) << variable << " names no mode-switching X server (scripts/test.sh starts one)";
    display_ = display;
    const char* before = std::getenv("DISPLAY");
    saved_ = before ? before : "";
    setenv("DISPLAY", display, 1);
    x_ = std::make_unique<XClient>(display);
    ASSERT_TRUE(x_->connected());
    desktop_ = desktop();
  }
  Rect desktop() const { return x_->screen(); }

  void TearDown() override {
    close_display();
    if (!display_.empty()) {
      setenv("DISPLAY", saved_.c_str(), 1);
      EXPECT_EQ(desktop().width, desktop_.width) << "desktop mode restored";
      EXPECT_EQ(desktop().height, desktop_.height);
    }
  }

  // Draws a picture on page 1 and shows it.
  void show_picture() {
    auto image = create_image(800, 600);
    ASSERT_TRUE(image.has_value());
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        const std::uint32_t colour = 0xFF000000u | (x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x80;
        if (GetParam() == 16)
          reinterpret_cast<std::uint16_t*>(image->row(y))[x] = colour_to_16(colour);
        else
          reinterpret_cast<std::uint32_t*>(image->row(y))[x] = colour;
      }
    select_pages(1, 0);
    ASSERT_TRUE(keyed_copy(*image, 0, 0));
    select_pages(0, 1);
  }

  // The screen's rows [top, top + 600) show page 1, every other row is black.
  void expect_screen_shows_page_from(int top) {
    const auto page = testing::page_pixels(1);
    const Rect screen = desktop();
    std::vector<std::uint32_t> pixels;
    auto matches = [&] {
      pixels = x_->read_pixels(None, screen);
      for (int y = 0; y < screen.height; ++y)
        for (int column = 0; column < screen.width; ++column) {
          const bool on_page = y >= top && y < top + 600 && column < 800;
          const std::uint32_t expected = on_page ? shown(page, GetParam(), column, y - top) : 0;
          if (pixels[y * screen.width + column] != expected) return false;
        }
      return true;
    };
    EXPECT_TRUE(xtest::wait_until(matches, 2.0));
  }

  std::string display_, saved_;
  std::unique_ptr<XClient> x_;
  Rect desktop_;
};

TEST_P(FullScreen, SwitchesTo800x600AndShowsThePage) {
  open_on("KV_FULLSCREEN_DISPLAY");
  if (HasFatalFailure()) return;
  ASSERT_EQ(open_display(800, 600, GetParam(), 2, 1, 0), 0);
  const Rect mode = desktop();
  EXPECT_EQ(mode.width, 800);
  EXPECT_EQ(mode.height, 600);
  show_picture();
  expect_screen_shows_page_from(0);
}

TEST_P(FullScreen, WithoutAn800x600ModeTheTallerModeCentresThePage) {
  open_on("KV_TALL_MODES_DISPLAY");
  if (HasFatalFailure()) return;
  ASSERT_EQ(open_display(800, 600, GetParam(), 2, 1, 0), 0);
  const Rect mode = desktop();
  EXPECT_EQ(mode.width, 800);
  EXPECT_EQ(mode.height, 768);
  show_picture();
  expect_screen_shows_page_from(84);
}

TEST_P(FullScreen, TheExitStepRestoresTheDesktopMode) {
  open_on("KV_FULLSCREEN_DISPLAY");
  if (HasFatalFailure()) return;
  const pid_t child = fork();
  if (child == 0) {
    if (open_display(800, 600, GetParam(), 2, 1, 0) != 0) _exit(2);
    usleep(300000);
    std::exit(0);
  }
  EXPECT_TRUE(xtest::wait_until([&] { return desktop().width == 800; }));
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_P(FullScreen, AltEnterSwitchesBetweenWindowAndFullScreenKeepingThePages) {
  open_on("KV_FULLSCREEN_DISPLAY");
  if (HasFatalFailure()) return;
  ASSERT_EQ(open_display(800, 600, GetParam(), 2, 0, 0), 0);
  show_picture();
  select_pages(1, 1);
  XClient& x = *x_;
  auto alt_enter = [&] {
    x.key("Alt_L", true);
    x.tap("Return");
    x.key("Alt_L", false);
  };
  set_title("Kestovaria");
  ASSERT_TRUE(x.find_window("Kestovaria").has_value());

  alt_enter();
  ASSERT_TRUE(xtest::wait_until([&] { return desktop().width == 800; }));
  EXPECT_EQ(testing::current_selection(), 257);
  expect_screen_shows_page_from(0);

  alt_enter();
  ASSERT_TRUE(xtest::wait_until([&] { return desktop().width == desktop_.width; }));
  EXPECT_EQ(testing::current_selection(), 257);
  const auto window = x.find_window("Kestovaria");
  ASSERT_TRUE(window.has_value());
  EXPECT_EQ(x.client_geometry(*window).width, 800);
}

// The X server would keep 800 x 600 after its client died.
TEST_P(FullScreen, EndingBySignalRestoresTheDesktopMode) {
  open_on("KV_FULLSCREEN_DISPLAY");
  if (HasFatalFailure()) return;
  struct Case {
    int signal;
    bool dies_by_it;  // else it exits with 128 + signal
  };
  for (const Case c : {Case{SIGINT, true}, Case{SIGQUIT, true}, Case{SIGTERM, false},
                       Case{SIGHUP, false}}) {
    SCOPED_TRACE(c.signal);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      const rlimit no_core{0, 0};
      setrlimit(RLIMIT_CORE, &no_core);
      console_escape_typed();  // the console's signal handling, as after the chooser
      if (open_display(800, 600, GetParam(), 2, 1, 0) != 0) _exit(2);
      if (write(ready[1], "r", 1) != 1) _exit(3);
      for (;;) pause();
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    EXPECT_EQ(desktop().width, 800);
    kill(child, c.signal);
    int status = 0;
    waitpid(child, &status, 0);
    if (c.dies_by_it) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + c.signal) << status;
    }
    EXPECT_EQ(desktop().width, desktop_.width);
    EXPECT_EQ(desktop().height, desktop_.height);
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, FullScreen, ::testing::Values(16, 32));

}  // namespace
}  // namespace kv
