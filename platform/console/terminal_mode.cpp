#include "platform/console/terminal_mode.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/error.h"

namespace kv {
namespace {
termios saved;
// Set once, before any signal path can read it.
volatile sig_atomic_t have_saved = 0;
}  // namespace

bool enter_key_mode() {
  if (tcgetattr(STDIN_FILENO, &saved) != 0) {
    set_error(errno);
    return false;
  }
  have_saved = 1;
  termios keys = saved;
  keys.c_lflag &= ~tcflag_t(ICANON | ECHO);
  // Enter arrives as CR (13) and Ctrl+S, Ctrl+Q and Ctrl+Z as keys 19, 17 and 26.
  keys.c_iflag &= ~tcflag_t(ICRNL | IXON);
  keys.c_cc[VSUSP] = _POSIX_VDISABLE;
  // Reads never block: the caller waits with poll.
  keys.c_cc[VMIN] = 0;
  keys.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &keys) != 0) {
    set_error(errno);
    return false;
  }
  return true;
}

void restore_terminal() {
  if (have_saved) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace kv
