#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// A program running on a pseudo-terminal of its own (80 × 24, as its
// controlling terminal), driven as a user at that terminal would drive it.
class PtySession {
 public:
  // Starts argv[0] with the rest of argv as its arguments. `type_ahead` is in
  // the terminal's input before the program starts; `working_dir` empty keeps
  // the test's own. Programs under test write no core files.
  explicit PtySession(std::vector<std::string> argv, std::string_view type_ahead = {},
                      const std::string& working_dir = {});
  ~PtySession();  // kills the program if it still runs
  PtySession(const PtySession&) = delete;
  PtySession& operator=(const PtySession&) = delete;

  pid_t pid() const { return pid_; }
  void send(std::string_view keys);
  // Reads the program's output until `text` is in it; false at the timeout.
  bool wait_for(std::string_view text, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Every byte the program has written to the terminal so far, as read.
  const std::string& output() const { return output_; }

  const termios& settings_before() const { return settings_before_; }
  termios settings() const;

  // Waits for the program to end, reading its last output; the wait status
  // (see waitpid), or nothing at the timeout.
  std::optional<int> wait_exit(std::chrono::milliseconds timeout = std::chrono::seconds(5));

  // Closes the terminal, as closing a terminal window does.
  void hang_up();

 private:
  void read_output(int timeout_ms);

  int master_ = -1;
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string output_;
  termios settings_before_{};
};

// Every field of terminal settings as text, for comparing and showing them.
std::string settings_text(const termios& settings);

}  // namespace kv
