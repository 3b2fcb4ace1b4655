// The whole program as a player meets it: chosen on a pseudo-terminal, shown in
// a window on the test's X server, read back from the screen, driven by X input.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/pixels/font.h"
#include "platform/picture/image.h"
#include "platform/picture/picture_file.h"
#include "tests/support/pty_session.h"
#include "tests/support/x_client.h"

namespace kv {
namespace {

using namespace std::chrono_literals;
using xtest::Rect;

const std::string program = KESTOVARIA_PROGRAM;
const std::string repository = KESTOVARIA_SOURCE_DIR;
constexpr int width = 800, height = 600;
const char* const title = "Kestovaria";

struct Rgb {
  int r, g, b;
};
Rgb rgb(std::uint32_t pixel) { return {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)}; }

// What a picture pixel looks like on screen once the fade-in has settled: each
// channel one below the picture's (never below 0), and at 16 bits that in
// 5-6-5 fields, widened for the 24-bit screen by shifting.
std::uint32_t settled(const Image& picture, int x, int y) {
  const auto below = [](int field) { return field > 0 ? field - 1 : 0; };
  if (picture.bytes_per_pixel() == 2) {
    const std::uint16_t p = reinterpret_cast<const std::uint16_t*>(picture.row(y))[x];
    return std::uint32_t(below(p >> 11) * 8) << 16 | std::uint32_t(below(p >> 5 & 63) * 4) << 8 |
           std::uint32_t(below(p & 31) * 8);
  }
  const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(picture.row(y))[x];
  return std::uint32_t(below(p >> 16 & 0xFF)) << 16 | std::uint32_t(below(p >> 8 & 0xFF)) << 8 |
         std::uint32_t(below(p & 0xFF));
}

// An image pixel as the screen shows it at full strength, or nothing for the mask colour.
std::optional<std::uint32_t> shown(const Image& image, int x, int y) {
  if (image.bytes_per_pixel() == 2) {
    const std::uint16_t p = reinterpret_cast<const std::uint16_t*>(image.row(y))[x];
    if (p == mask_colour_16) return std::nullopt;
    return std::uint32_t((p >> 11) * 8) << 16 | std::uint32_t((p >> 5 & 63) * 4) << 8 |
           std::uint32_t((p & 31) * 8);
  }
  const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(image.row(y))[x];
  if (is_mask_32(p)) return std::nullopt;
  return p & 0xFFFFFF;
}

bool glyph_set(std::string_view text, int x, int y) {
  if (x < 0 || y < 0 || y >= 8 || x >= int(text.size()) * 8) return false;
  return pixels::font_8x8[static_cast<unsigned char>(text[x / 8])][y] & (0x80 >> (x % 8));
}
// The title's colour at a page pixel as the screen shows it: green (at 16 bits
// 0x07E0 widened), its black edge, or nothing.
std::optional<std::uint32_t> title_pixel(int x, int y, int depth) {
  if (glyph_set(title, x - 11, y - 11)) return depth == 16 ? 0x00FC00 : 0x00FF00;
  if (glyph_set(title, x - 10, y - 10)) return 0x000000;
  return std::nullopt;
}

// The program started on a terminal, its choice made, and its window found.
class MenuScreen : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(x.connected()) << "needs the X server that scripts/test.sh starts";
    const int depth = GetParam();
    menu = Image::create(width, height, depth);
    cursor = Image::create(48, 48, depth);
    ASSERT_TRUE(load_picture(*menu, repository + "/gfx/mainmenu.bmp"));
    ASSERT_TRUE(load_picture(*cursor, repository + "/gfx/cursor.bmp"));

    // The pointer starts outside where the window will be.
    x.move_pointer(0, 0);
    session.emplace(std::vector<std::string>{program}, "", repository);
    ASSERT_TRUE(session->wait_for("Press 1-4 to select..."));
    session->send(depth == 16 ? "1" : "2");
    const auto found = x.find_window(title);
    ASSERT_TRUE(found) << "no window titled " << title;
    window = *found;
    client = x.client_geometry(window);
    ASSERT_EQ(client.width, width);
    ASSERT_EQ(client.height, height);
    x.focus(window);
  }

  void TearDown() override {
    if (session && running()) kill(session->pid(), SIGKILL);
  }

  bool running() { return !session->wait_exit(0ms).has_value(); }

  std::vector<std::uint32_t> screen() { return x.read_pixels(window, {0, 0, width, height}); }

  void hold_escape() {
    x.key("Escape", true);
    std::this_thread::sleep_for(150ms);  // longer than a few presentation passes
    x.key("Escape", false);
  }

  // Page pixels of the cursor image placed with its top-left at (left, top) that
  // differ on screen; the title is drawn over it.
  int cursor_mismatches(const std::vector<std::uint32_t>& pixels, int left, int top) {
    int mismatches = 0;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        const int px = left + x, py = top + y;
        if (px < 0 || py < 0 || px >= width || py >= height || title_pixel(px, py, GetParam())) continue;
        const auto expected = shown(*cursor, x, y);
        if (expected && pixels[py * width + px] != *expected) ++mismatches;
      }
    }
    return mismatches;
  }

  xtest::XClient x;
  std::optional<Image> menu, cursor;
  std::optional<PtySession> session;
  Window window = 0;
  Rect client;
};

TEST_P(MenuScreen, FadesInTheSolidShadowedTitleAndEndsOnEscape) {
  std::this_thread::sleep_for(1500ms);  // some fifty frames: every channel has settled
  const auto pixels = screen();

  int wrong_picture = 0, wrong_title = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t on_screen = pixels[y * width + x];
      if (const auto in_title = title_pixel(x, y, GetParam())) {
        wrong_title += on_screen != *in_title;
      } else if (x >= 23 || y >= 23) {  // the corner holds the cursor of a pointer outside
        wrong_picture += on_screen != settled(*menu, x, y);
      }
    }
  }
  EXPECT_EQ(wrong_title, 0);
  EXPECT_EQ(wrong_picture, 0);
  // Pointer outside the window: only the cursor's bottom-right 23 × 23 pixels, in the corner.
  EXPECT_EQ(cursor_mismatches(pixels, -25, -25), 0);

  const termios before = session->settings_before();
  hold_escape();
  const auto status = session->wait_exit(3s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  EXPECT_TRUE(x.windows_named(title).empty());
  EXPECT_EQ(settings_text(session->settings()), settings_text(before));
}

TEST_P(MenuScreen, TheCursorFollowsThePointerAndLeavesAFadingTrail) {
  x.move_pointer(client.x + 400, client.y + 300);
  std::this_thread::sleep_for(300ms);
  auto pixels = screen();
  EXPECT_EQ(cursor_mismatches(pixels, 376, 276), 0);

  x.move_pointer(client.x + 600, client.y + 300);
  std::this_thread::sleep_for(100ms);
  // Shortly after, the old cursor still shows as a fading copy over the picture.
  pixels = screen();
  int distance = 0;
  for (int y = 276; y < 324; ++y)
    for (int x = 376; x < 424; ++x) {
      const Rgb a = rgb(pixels[y * width + x]), b = rgb(settled(*menu, x, y));
      distance = std::max({distance, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
  EXPECT_GT(distance, 8);

  std::this_thread::sleep_for(1500ms);
  pixels = screen();
  EXPECT_EQ(cursor_mismatches(pixels, 576, 276), 0);
  // The trail has faded to the picture: a channel that was above it falls to it,
  // one below rises to one under it.
  const int step = GetParam() == 16 ? 8 : 1;
  int left_over = 0;
  for (int y = 276; y < 324; ++y)
    for (int x = 376; x < 424; ++x) {
      const Rgb a = rgb(pixels[y * width + x]), b = rgb(settled(*menu, x, y));
      left_over += std::abs(a.r - b.r) > step || std::abs(a.g - b.g) > step || std::abs(a.b - b.b) > step;
    }
  EXPECT_EQ(left_over, 0);

  // Leaving the window puts the cursor in the top-left corner.
  x.move_pointer(client.x + 400, client.y - 10);  // over the title bar
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(cursor_mismatches(screen(), -25, -25), 0);
}

TEST_P(MenuScreen, CloseRequestsAndEscapeElsewhereLeaveItRunning) {
  x.request_close(window);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(running());
  EXPECT_EQ(x.windows_named(title).size(), 1u);

  // Escape typed into another window does nothing.
  Display* display = x.display();
  const Window other = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100,
                                           0, 0, 0xFFFFFF);
  XStoreName(display, other, "another window");
  XMapRaised(display, other);
  x.sync();
  ASSERT_TRUE(x.find_window("another window"));
  x.focus(other);
  std::this_thread::sleep_for(200ms);
  hold_escape();
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(running());
  XDestroyWindow(display, other);
  x.sync();

  x.focus(window);
  std::this_thread::sleep_for(200ms);
  hold_escape();
  const auto status = session->wait_exit(3s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
}

TEST_P(MenuScreen, CtrlCOnTheTerminalEndsItAtOnceWithTheTerminalRestored) {
  const termios before = session->settings_before();
  session->send("\x03");
  const auto status = session->wait_exit(2s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGINT) << *status;
  EXPECT_EQ(settings_text(session->settings()), settings_text(before));
  EXPECT_TRUE(xtest::wait_until([&] { return x.windows_named(title).empty(); }, 2.0));
}

INSTANTIATE_TEST_SUITE_P(Depths, MenuScreen, ::testing::Values(16, 32),
                         [](const auto& info) { return "Depth" + std::to_string(info.param); });

TEST(MenuScreenWithoutDisplay, EscapeTypedOnTheTerminalEndsIt) {
  PtySession session({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", program}, "",
                     repository);
  ASSERT_TRUE(session.wait_for("Press 1-4 to select..."));
  session.send("2");
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(session.wait_exit(0ms)) << "ended before Escape";
  session.send("\x1b");
  const auto status = session.wait_exit(3s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  EXPECT_EQ(settings_text(session.settings()), settings_text(session.settings_before()));
}

}  // namespace
}  // namespace kv
