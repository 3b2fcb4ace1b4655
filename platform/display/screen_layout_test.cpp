#include "platform/display/screen_layout.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ScreenLayout, WindowIsCentredRoundingTowardMinusInfinity) {
  const std::array<int, 3> cases[] = {
      {1280, 800, 240}, {1024, 800, 112}, {801, 800, 0}, {800, 800, 0},
      {799, 800, -1},   {640, 800, -80},  {639, 800, -81}, {1025, 600, 212}, {0, 600, -300},
  };
  for (const auto& [screen, window, origin] : cases)
    EXPECT_EQ(centred_origin(screen, window), origin) << screen << " " << window;
}

TEST(ScreenLayout, FullScreenLadderAsksSixModesInOrder) {
  const auto ladder = full_screen_ladder(16);
  const std::array<int, 3> expected[] = {{800, 600, 16}, {800, 600, 15},  {800, 768, 16},
                                         {800, 768, 15}, {800, 1024, 16}, {800, 1024, 15}};
  ASSERT_EQ(ladder.size(), 6u);
  for (std::size_t i = 0; i < ladder.size(); ++i) {
    EXPECT_EQ(ladder[i].width, expected[i][0]);
    EXPECT_EQ(ladder[i].height, expected[i][1]);
    EXPECT_EQ(ladder[i].depth, expected[i][2]);
  }
  EXPECT_EQ(full_screen_ladder(32)[1].depth, 24);
}

TEST(ScreenLayout, EachRequestAModeMeetsIsTriedInLadderOrder) {
  struct Case {
    std::vector<ModeSize> available;
    std::vector<int> tries;
  };
  const Case cases[] = {
      {{{1024, 768}, {800, 768}, {800, 600}}, {2, 2, 1, 1}},
      {{{1024, 768}, {800, 1024}, {800, 768}}, {2, 2, 1, 1}},
      {{{800, 1024}, {640, 480}}, {0, 0}},
      {{{1024, 768}, {800, 601}, {801, 600}}, {}},
      {{}, {}},
  };
  const auto ladder = full_screen_ladder(32);
  for (const Case& c : cases) EXPECT_EQ(modes_to_try(ladder, c.available), c.tries);
}

TEST(ScreenLayout, TallerModesCentreThePage) {
  EXPECT_EQ(first_page_row(600), 0);
  EXPECT_EQ(first_page_row(768), 84);
  EXPECT_EQ(first_page_row(1024), 212);
}

}  // namespace
}  // namespace kv
