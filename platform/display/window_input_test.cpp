#include "platform/display/window_input.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct Fields {
  int x, y, wheel, buttons, confinement;
};
Fields fields(const PointerState& p) { return {p.x, p.y, p.wheel, p.buttons, p.confinement}; }
bool operator==(const Fields& a, const Fields& b) {
  return a.x == b.x && a.y == b.y && a.wheel == b.wheel && a.buttons == b.buttons &&
         a.confinement == b.confinement;
}

TEST(PointerQuery, SucceedsOnlyWhileActiveAndOverTheClientArea) {
  struct Case {
    bool focused, minimised, inside, succeeds;
  };
  const Case cases[] = {
      {true, false, true, true},    {true, false, false, false}, {false, false, true, false},
      {true, true, true, false},    {false, true, false, false},
  };
  for (const Case& c : cases) {
    WindowInput input;
    input.set_focused(true);
    input.set_inside(true);
    input.moved_to(12, 34);
    input.set_focused(c.focused);
    input.set_minimised(c.minimised);
    input.set_inside(c.inside);
    PointerState pointer{7, 7, 7, 7, 7};
    EXPECT_EQ(input.query(pointer), c.succeeds);
    const Fields expected = c.succeeds ? Fields{12, 34, 0, 0, 0} : Fields{-1, -1, -1, -1, -1};
    EXPECT_TRUE(fields(pointer) == expected)
        << c.focused << c.minimised << c.inside << ": " << pointer.x << "," << pointer.y << ","
        << pointer.wheel << "," << pointer.buttons << "," << pointer.confinement;
  }
}

TEST(PointerQuery, ReportsPositionWheelButtonsAndConfinement) {
  WindowInput input;
  input.set_focused(true);
  input.set_inside(true);
  PointerState pointer;
  ASSERT_TRUE(input.query(pointer));
  EXPECT_EQ(pointer.x, 0);  // before any movement
  EXPECT_EQ(pointer.y, 0);

  input.moved_to(900, -3);  // edge events outside the page are held to it
  input.wheel_turned(120);
  input.wheel_turned(3);
  input.wheel_turned(-1);
  input.button(1, true);
  input.button(4, true);
  input.button(16, true);
  input.button(4, false);
  input.set_confined(true);
  ASSERT_TRUE(input.query(pointer));
  EXPECT_TRUE(fields(pointer) == (Fields{799, 0, 1, 17, 1}));
}

TEST(PointerQuery, ActivationChangesReleaseButtonsAndKeys) {
  WindowInput input;
  input.set_focused(true);
  input.set_inside(true);
  EXPECT_TRUE(input.take_activation_change());
  EXPECT_FALSE(input.take_activation_change());
  std::array<bool, 128> held{};
  held[1] = held[0x1D] = true;
  input.sample_keys(held);
  input.button(2, true);
  EXPECT_EQ(input.key_state(1), -1);

  input.set_minimised(true);
  EXPECT_TRUE(input.take_activation_change());
  EXPECT_EQ(input.key_state(1), 0);
  input.sample_keys(held);  // inactive windows sample nothing
  EXPECT_EQ(input.key_state(0x1D), 0);

  input.set_minimised(false);
  EXPECT_TRUE(input.take_activation_change());
  PointerState pointer;
  ASSERT_TRUE(input.query(pointer));
  EXPECT_EQ(pointer.buttons, 0);
  input.sample_keys(held);
  input.set_focused(true);  // already focused: not a change, nothing released
  EXPECT_FALSE(input.take_activation_change());
  EXPECT_EQ(input.key_state(1), -1);
}

TEST(KeyState, ScanCodesOutsideTheTableReadAsNotHeld) {
  WindowInput input;
  input.set_focused(true);
  std::array<bool, 128> held;
  held.fill(true);
  input.sample_keys(held);
  for (int code : {0, 1, 127}) EXPECT_EQ(input.key_state(code), -1) << code;
  for (int code : {-1, 128, 1000, -2147483647 - 1}) EXPECT_EQ(input.key_state(code), 0) << code;
}

}  // namespace
}  // namespace kv
