#include "menu/frame_loop.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace kv {
namespace {

struct Frame {
  int work, visible, cursor_x, cursor_y;
  double started;  // the clock reading taken for this frame
  bool operator==(const Frame&) const = default;
};

// A platform whose clock, pointer and Escape key the test sets before each pass.
class ScriptedPlatform : public FramePlatform {
 public:
  // Called at the start of every pass with the pass number, counting from 1.
  std::function<void(ScriptedPlatform&, int pass)> script;
  double now = 0.0;
  double step_per_reading = 0.0;  // how far the clock moves at every reading
  int pointer_x = 0, pointer_y = 0;
  bool escape = false;

  int passes = 0;
  std::vector<double> readings;
  std::vector<Frame> frames;

  void pointer_position(int& x, int& y) override {
    ++passes;
    if (script) script(*this, passes);
    x = pointer_x;
    y = pointer_y;
  }
  bool escape_held() override { return escape; }
  double clock() override {
    readings.push_back(now);
    const double reading = now;
    now += step_per_reading;
    return reading;
  }
  void select_pages(int work, int visible) override {
    frames.push_back({work, visible, 0, 0, readings.back()});
  }
  void compose_frame(int cursor_x, int cursor_y) override {
    frames.back().cursor_x = cursor_x;
    frames.back().cursor_y = cursor_y;
  }
};

TEST(FrameLoop, DrawsOnAlternatingPagesOnlyOnceTheIntervalHasPassed) {
  ScriptedPlatform platform;
  // The clock moves 0.011 s per pass; Escape arrives on pass 10.
  platform.script = [](ScriptedPlatform& p, int pass) {
    p.now = pass * 0.011;
    p.escape = pass == 10;
  };
  run_frame_loop(platform, 0.0);

  EXPECT_EQ(platform.passes, 10);
  ASSERT_EQ(platform.frames.size(), 3u);  // passes 3, 6 and 9
  const int expected_pages[3][2] = {{0, 1}, {1, 0}, {0, 1}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(platform.frames[i].work, expected_pages[i][0]);
    EXPECT_EQ(platform.frames[i].visible, expected_pages[i][1]);
    EXPECT_GE(platform.frames[i].started - (i ? platform.frames[i - 1].started : 0.0), 0.03 - 1e-12);
  }
}

TEST(FrameLoop, TakesLastFrameTimeFromAFreshSecondReading) {
  ScriptedPlatform platform;
  platform.step_per_reading = 0.005;  // the second reading of a pass is 0.005 s later
  platform.script = [](ScriptedPlatform& p, int pass) {
    if (pass == 1) p.now = 0.030;
    if (pass == 2) p.now = 0.064;  // 0.034 after the first test, but under 0.03 after the fresh reading
    if (pass == 3) p.now = 0.065;
    p.escape = pass == 3;
  };
  run_frame_loop(platform, 0.0);

  ASSERT_EQ(platform.frames.size(), 2u);
  EXPECT_DOUBLE_EQ(platform.frames[0].started, 0.035);
  EXPECT_DOUBLE_EQ(platform.frames[1].started, 0.070);
}

TEST(FrameLoop, AClockJumpGivesOneFrameNotABurst) {
  ScriptedPlatform platform;
  platform.script = [](ScriptedPlatform& p, int pass) {
    p.now = pass <= 2 ? 0.0 : 1.0;  // a one-second jump before pass 3
    p.escape = pass == 8;
  };
  run_frame_loop(platform, 0.0);
  EXPECT_EQ(platform.frames.size(), 1u);
}

TEST(FrameLoop, ThePassThatSeesEscapeFinishesItsFrameAndTheNextCheckEnds) {
  ScriptedPlatform platform;
  platform.script = [](ScriptedPlatform& p, int pass) {
    p.now = pass * 0.02;
    p.escape = pass == 3;  // no frame is due on pass 3
  };
  run_frame_loop(platform, 0.0);
  EXPECT_EQ(platform.passes, 3);
  EXPECT_EQ(platform.frames.size(), 1u);

  ScriptedPlatform due;
  due.script = [](ScriptedPlatform& p, int pass) {
    p.now = pass * 0.03;
    p.escape = pass == 2;
  };
  run_frame_loop(due, 0.0);
  EXPECT_EQ(due.passes, 2);
  EXPECT_EQ(due.frames.size(), 2u);  // the Escape pass drew its frame
}

TEST(FrameLoop, PlacesTheCursorAtThePointerLess24) {
  struct Case {
    int pointer_x, pointer_y, cursor_x, cursor_y;
  };
  for (const Case c : {Case{100, 200, 76, 176}, Case{0, 0, -24, -24}, Case{799, 599, 775, 575},
                       Case{-1, -1, -25, -25}}) {
    ScriptedPlatform platform;
    platform.pointer_x = c.pointer_x;
    platform.pointer_y = c.pointer_y;
    platform.script = [](ScriptedPlatform& p, int pass) {
      p.now = pass * 0.03;
      p.escape = pass == 1;
    };
    run_frame_loop(platform, 0.0);
    ASSERT_EQ(platform.frames.size(), 1u);
    EXPECT_EQ(platform.frames[0].cursor_x, c.cursor_x);
    EXPECT_EQ(platform.frames[0].cursor_y, c.cursor_y);
  }
}

}  // namespace
}  // namespace kv
