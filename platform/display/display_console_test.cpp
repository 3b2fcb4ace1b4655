#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/display/display.h"

namespace kv {
namespace {

// Without a display the frame loop still ends on Escape, typed in the terminal.
TEST(NoDisplay, EscapeTypedInTheTerminalReadsAsHeld) {
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (int polls = 0; polls < 500; ++polls) {
      if (key_state(2) != 0 || key_state(0x1C) != 0) std::exit(3);
      if (key_state(1) == -1) std::exit(0);
      usleep(10000);
    }
    std::exit(1);
  }
  usleep(200000);
  ASSERT_EQ(write(terminal, "a\r", 2), 2);  // other keys are not Escape
  usleep(100000);
  ASSERT_EQ(write(terminal, "\x1b", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  close(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace kv
