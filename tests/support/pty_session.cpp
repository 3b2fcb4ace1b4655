#include "tests/support/pty_session.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

namespace kv {

PtySession::PtySession(std::vector<std::string> argv, std::string_view type_ahead, const std::string& working_dir) {
  int slave = -1;
  winsize size{};
  size.ws_row = 24;
  size.ws_col = 80;
  if (openpty(&master_, &slave, nullptr, nullptr, &size) != 0) throw std::runtime_error("openpty failed");
  tcgetattr(slave, &settings_before_);
  if (write(master_, type_ahead.data(), type_ahead.size()) != ssize_t(type_ahead.size()))
    throw std::runtime_error("type-ahead not written");

  pid_ = fork();
  if (pid_ == 0) {
    close(master_);
    login_tty(slave);
    rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    if (!working_dir.empty() && chdir(working_dir.c_str()) != 0) _exit(127);
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(slave);
  if (pid_ < 0) throw std::runtime_error("fork failed");
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtySession::~PtySession() {
  if (!status_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
}

void PtySession::send(std::string_view keys) {
  if (write(master_, keys.data(), keys.size()) != ssize_t(keys.size())) throw std::runtime_error("keys not sent");
}

void PtySession::read_output(int timeout_ms) {
  pollfd input{master_, POLLIN, 0};
  int ready = master_ >= 0 ? poll(&input, 1, timeout_ms) : -1;
  char bytes[4096];
  ssize_t count = ready > 0 ? read(master_, bytes, sizeof bytes) : 0;
  if (count > 0) {
    output_.append(bytes, std::size_t(count));
  } else if (ready != 0) {
    // Hung up or ended: nothing to wait on, so pace the caller's loop.
    std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
  }
}

bool PtySession::wait_for(std::string_view text, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (output_.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    read_output(10);
  }
  return true;
}

termios PtySession::settings() const {
  termios now{};
  // On the master side this reads the terminal's settings, as the program sees them.
  if (tcgetattr(master_, &now) != 0) throw std::runtime_error("tcgetattr failed");
  return now;
}

std::optional<int> PtySession::wait_exit(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!status_) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = status;
    } else if (std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    read_output(10);
  }
  return status_;
}

void PtySession::hang_up() {
  close(master_);
  master_ = -1;
}

std::string settings_text(const termios& settings) {
  char field[64];
  std::snprintf(field, sizeof field, "iflag %x oflag %x cflag %x lflag %x line %d cc", settings.c_iflag,
                settings.c_oflag, settings.c_cflag, settings.c_lflag, settings.c_line);
  std::string text = field;
  for (cc_t cc : settings.c_cc) {
    std::snprintf(field, sizeof field, " %d", cc);
    text += field;
  }
  std::snprintf(field, sizeof field, " speed %u/%u", cfgetispeed(&settings), cfgetospeed(&settings));
  return text + field;
}

}  // namespace kv
