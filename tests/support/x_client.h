#pragma once

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A test's own connection to an X server: finds the program's window, reads
// the screen back and sends input the way a user or window manager would.
// Open it before the display under test switches modes: connecting takes a
// lock inside Xlib that SDL also needs while it holds the server grabbed.
namespace kv::xtest {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

class XClient {
 public:
  // Connects to `display_name`, or to $DISPLAY when null.
  explicit XClient(const char* display_name = nullptr);
  ~XClient();
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  bool connected() const { return display_ != nullptr; }
  Display* display() const { return display_; }
  // The current size of the screen, after any mode switch.
  Rect screen() const;

  // The viewable window with this name, once its id has stayed the same for
  // `settle_seconds` (SDL may replace its first window); nothing on time-out.
  std::optional<Window> find_window(const std::string& name, double timeout_seconds = 5.0,
                                    double settle_seconds = 0.3);
  // Every viewable window with this name, now.
  std::vector<Window> windows_named(const std::string& name);
  // Viewable windows that have any name at all.
  std::vector<Window> named_windows();
  std::string name_of(Window window);

  // In root coordinates: the client area, and the window manager's frame around it
  // (the client area again when there is no frame).
  Rect client_geometry(Window window);
  Rect frame_geometry(Window window);
  // Pixels of a window, or of the root when window is None, as 0xRRGGBB.
  std::vector<std::uint32_t> read_pixels(Window window, const Rect& area);

  // Whether the pointer's current shape has any pixel that is not transparent.
  bool pointer_shown();
  void minimise(Window window);

  void focus(Window window);
  void move_pointer(int root_x, int root_y);
  // Where the pointer is, in root coordinates.
  std::array<int, 2> pointer_position();
  void key(const char* keysym_name, bool down);
  void tap(const char* keysym_name);
  // The close request a window manager sends for the close button.
  void request_close(Window window);
  void sync();

 private:
  // A 32-bit client message of `type` about window `about`, sent to `to`.
  void send_client_message(Window to, Window about, const char* type, long first, long event_mask);
  void collect(Window parent, const std::string* name, std::vector<Window>& found);

  Display* display_ = nullptr;
};

// Waits until `done` holds, polling; false on time-out.
template <typename Done>
bool wait_until(Done done, double timeout_seconds = 5.0) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace kv::xtest
