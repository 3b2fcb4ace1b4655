#include "platform/console/key_input.h"

#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <string_view>
#include <thread>

namespace kv {
namespace {

int open_pipe(int (&ends)[2]) {
  EXPECT_EQ(pipe(ends), 0);
  return ends[0];
}

// A KeyInput reading the far end of a pipe that the test types into.
class KeyInputTest : public ::testing::Test {
 protected:
  ~KeyInputTest() override {
    close(ends_[0]);
    if (ends_[1] >= 0) close(ends_[1]);
  }
  void type(std::string_view bytes) { ASSERT_EQ(write(ends_[1], bytes.data(), bytes.size()), ssize_t(bytes.size())); }
  void hang_up() {
    close(ends_[1]);
    ends_[1] = -1;
  }

  int ends_[2] = {-1, -1};
  KeyInput input{open_pipe(ends_)};
};

TEST_F(KeyInputTest, ReadsKeysInOrderAndALoneEscapeOnceInputPauses) {
  type("x\x1b[A3\x1b");
  EXPECT_EQ(input.read_key(), 'x');
  EXPECT_EQ(input.read_key(), 256 * 0x48 + 255);
  EXPECT_EQ(input.read_key(), '3');
  EXPECT_EQ(input.read_key(), 27);
}

TEST_F(KeyInputTest, EscapeTypedConsumesKeysUpToAndIncludingTheEscape) {
  type("a\x1b[Ab\x1b\x1b" "c");
  EXPECT_TRUE(input.escape_typed());
  EXPECT_EQ(input.read_key(), 256 * 0x2E + 255);
  EXPECT_FALSE(input.escape_typed());
}

TEST_F(KeyInputTest, EscapeTypedLeavesOtherKeysForReading) {
  type("a\x1b[A");
  EXPECT_FALSE(input.escape_typed());
  EXPECT_EQ(input.read_key(), 'a');
  EXPECT_EQ(input.read_key(), 256 * 0x48 + 255);
}

// Bytes are timed from when they are taken: a lone ESC is Escape once a later look finds nothing new.
TEST_F(KeyInputTest, LoneEscapeIsTypedOnceInputHasPaused) {
  type("b\x1b");
  EXPECT_FALSE(input.escape_typed());
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_TRUE(input.escape_typed());
}

double thread_cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// After a hang-up every read fails at once; the wait must still sleep, and a
// key pushed from another thread must still end it.
TEST_F(KeyInputTest, WaitAfterHangUpSleepsUntilAKeyIsPushed) {
  hang_up();
  double cpu_used = 0;
  int key = 0;
  std::thread reader([&] {
    double start = thread_cpu_seconds();
    key = input.read_key();
    cpu_used = thread_cpu_seconds() - start;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  input.push(0x6BFF);
  reader.join();
  EXPECT_EQ(key, 0x6BFF);
  EXPECT_LT(cpu_used, 0.1);
}

}  // namespace
}  // namespace kv
