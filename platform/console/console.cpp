#include "platform/console/console.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/console/key_input.h"
#include "platform/console/signal_watch.h"
#include "platform/console/terminal_mode.h"
#include "platform/error.h"

namespace kv {
namespace {

// What a close, log-off or shut-down puts into the ring.
constexpr int end_request_key = 0x6BFF;

struct Console {
  std::string clear_bytes;  // empty when output is no terminal
  KeyInput input;
};

// Homes the cursor and erases the rows the terminal had at first use one by
// one: erasing the screen in one go (CSI J or CSI 2J) makes some terminals
// push the old screen into scroll-back. Without a known size, erasing below
// the home position is all there is.
std::string clear_bytes_for_output() {
  if (isatty(STDOUT_FILENO) != 1) return {};
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0) return "\x1b[H\x1b[J";
  std::string bytes = "\x1b[H";
  for (int row = 0; row < size.ws_row; ++row) bytes += "\x1b[2K\x1b[B";
  return bytes + "\x1b[H";
}

Console& console();

void request_end() { console().input.push(end_request_key); }

void exit_step() {
  restore_terminal();
  stop_signal_watch();
}

Console& start_console() {
  bool input_is_terminal = isatty(STDIN_FILENO) == 1 && enter_key_mode();
  auto* started = new Console{clear_bytes_for_output(), KeyInput(input_is_terminal ? STDIN_FILENO : -1)};
  start_signal_watch(request_end);
  std::atexit(exit_step);
  return *started;
}

// Never destroyed: the signal thread may still use it while exit steps run.
Console& console() {
  static Console& started = start_console();
  return started;
}

void write_all(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      set_error(written < 0 ? errno : EIO);
      return;
    }
    bytes.remove_prefix(std::size_t(written));
  }
}

}  // namespace

void clear_console() { write_all(console().clear_bytes); }

void write_console_line(std::string_view text) {
  console();
  write_all(text);
  write_all("\r\n");
}

int read_console_key() { return console().input.read_key(); }

bool console_escape_typed() { return console().input.escape_typed(); }

}  // namespace kv
