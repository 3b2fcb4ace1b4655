// The real program on a pseudo-terminal: the menu, keys typed ahead, and every
// way of ending it leaving the terminal's settings as they were.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/menu_text.h"
#include "tests/support/pty_session.h"

namespace kv {
namespace {

const std::string program = KESTOVARIA_PROGRAM;
const std::string last_line = "Press 1-4 to select...";

// After a choice the program goes on to its graphics; with no desktop to open
// a display on, Escape typed on the terminal ends it, so each choice below is
// followed by an Escape.
std::vector<std::string> without_display(std::vector<std::string> argv) {
  argv.insert(argv.begin(), {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"});
  return argv;
}

std::string menu_with(std::string_view line_break) {
  std::string menu;
  for (const char* line : expected_menu_lines) (menu += line) += line_break;
  return menu;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

void expect_settings_restored(const PtySession& session) {
  EXPECT_EQ(settings_text(session.settings()), settings_text(session.settings_before()));
}

// The terminal turns each LF it is sent into CR LF, so the program's CR LF reads back as CR CR LF.
TEST(ChooserProgram, ShowsTheMenuAfterAClearAndClearsItAwayOnAChoice) {
  PtySession session(without_display({program}));
  ASSERT_TRUE(session.wait_for(last_line));
  termios waiting = session.settings();
  EXPECT_EQ(waiting.c_lflag & (ICANON | ECHO), 0u);
  EXPECT_NE(waiting.c_lflag & ISIG, 0u);
  session.send("1\x1b");
  auto status = session.wait_exit();
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  expect_settings_restored(session);

  const std::string& output = session.output();
  auto menu_at = output.find(menu_with("\r\r\n"));
  ASSERT_NE(menu_at, std::string::npos) << output;
  // A clear first, the menu from the top-left cell, another clear after the choice.
  EXPECT_TRUE(output.starts_with("\x1b[H")) << output;
  EXPECT_EQ(output.compare(menu_at - 3, 3, "\x1b[H"), 0) << output;
  EXPECT_NE(output.find("\x1b[H", menu_at), std::string::npos) << output;
  // Nothing else visible changes: no title, no alternate screen or other mode, no full-screen erase.
  for (std::string_view changes : {"\x1b]", "\x1b[?", "\x1b[2J", "\x1b[3J"})
    EXPECT_EQ(output.find(changes), std::string::npos) << output;
}

TEST(ChooserProgram, AnswersKeysTypedBeforeTheMenuInOrder) {
  PtySession session(without_display({program}), "x3\x1b");
  auto status = session.wait_exit();
  ASSERT_TRUE(status) << session.output();
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  EXPECT_EQ(count(session.output(), last_line), 2u);
  expect_settings_restored(session);
}

// Ctrl+Z, Ctrl+S and Ctrl+Q are keys here, not suspend and flow control, and
// Enter is a key too: each shows the menu again.
TEST(ChooserProgram, ControlKeysAreKeysNotTerminalControls) {
  PtySession session(without_display({program}));
  ASSERT_TRUE(session.wait_for(last_line));
  session.send("\x1a\x13\x11\r3\x1b");
  auto status = session.wait_exit();
  ASSERT_TRUE(status) << session.output();
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  EXPECT_EQ(count(session.output(), last_line), 5u);
}

// Ctrl+C, Ctrl+\ and crashes kill it by their signal; a log-off or shut-down
// (SIGTERM) and a hang-up (SIGHUP) end it with status 128 + the signal.
TEST(ChooserProgram, EndsOnSignalsWithTheTerminalRestored) {
  struct Case {
    const char* name;
    const char* keys;
    int sent_signal;
    bool killed;
    int end;
  };
  for (Case c : {Case{"Ctrl+C", "\x03", 0, true, SIGINT}, Case{"Ctrl+\\", "\x1c", 0, true, SIGQUIT},
                 Case{"SIGTERM", "", SIGTERM, false, 128 + SIGTERM}, Case{"SIGHUP", "", SIGHUP, false, 128 + SIGHUP},
                 Case{"SIGSEGV", "", SIGSEGV, true, SIGSEGV}, Case{"SIGBUS", "", SIGBUS, true, SIGBUS},
                 Case{"SIGABRT", "", SIGABRT, true, SIGABRT}, Case{"SIGFPE", "", SIGFPE, true, SIGFPE}}) {
    PtySession session(without_display({program}));
    ASSERT_TRUE(session.wait_for(last_line)) << c.name;
    session.send(c.keys);
    if (c.sent_signal) kill(session.pid(), c.sent_signal);
    auto status = session.wait_exit();
    ASSERT_TRUE(status) << c.name;
    if (c.killed) {
      EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == c.end) << c.name << " " << *status;
    } else {
      EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == c.end) << c.name << " " << *status;
    }
    expect_settings_restored(session);
  }
}

TEST(ChooserProgram, EndsWhenItsTerminalCloses) {
  PtySession session(without_display({program}));
  ASSERT_TRUE(session.wait_for(last_line));
  session.hang_up();
  auto status = session.wait_exit();
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 128 + SIGHUP) << *status;
}

TEST(ChooserProgram, WritesExactlyTheNineLinesToAFile) {
  std::string file = testing::TempDir() + "chooser_menu.txt";
  PtySession session(without_display({"/bin/sh", "-c", "exec \"$0\" > \"$1\"", program, file}));
  session.send("q4\x1b");
  auto status = session.wait_exit();
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  std::stringstream written;
  written << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str(), menu_with("\r\n") + menu_with("\r\n"));
  expect_settings_restored(session);
}

double cpu_seconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int skip = 0; skip < 11; ++skip) fields >> field;  // state to cmajflt
  long user = 0, system = 0;
  fields >> user >> system;
  return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

TEST(ChooserProgram, WaitsSleepingWhenInputIsNoTerminal) {
  PtySession session(without_display({"/bin/sh", "-c", "exec \"$0\" < /dev/null", program}));
  ASSERT_TRUE(session.wait_for(last_line));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_FALSE(session.wait_exit(std::chrono::milliseconds(0)));
  EXPECT_LT(cpu_seconds(session.pid()), 0.2);
  EXPECT_EQ(count(session.output(), last_line), 1u);
  expect_settings_restored(session);
  kill(session.pid(), SIGTERM);
  auto status = session.wait_exit();
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 128 + SIGTERM) << *status;
}

}  // namespace
}  // namespace kv
