#include "platform/display/page_set.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kv {
namespace {

bool all_marked(const RowMarks& marks) {
  for (int row = 0; row < page_height; ++row)
    if (!marks.marked(row)) return false;
  return true;
}

TEST(PageSet, OpensBlackWithPageZeroWorkAndVisible) {
  for (int depth : {16, 32}) {
    PageSet pages(depth);
    EXPECT_EQ(pages.selection(), 0);
    EXPECT_FALSE(pages.marks().any());
    for (int index : {0, 1}) {
      const PixelView page = pages.page(index);
      ASSERT_EQ(page.stride, 800 * depth / 8);
      const auto* bottom_right = page.row(599) + 799 * page.bytes_per_pixel;
      if (depth == 16) {
        EXPECT_EQ(*reinterpret_cast<const std::uint16_t*>(page.row(0)), 0x0000);
        EXPECT_EQ(*reinterpret_cast<const std::uint16_t*>(bottom_right), 0x0000);
      } else {
        EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(page.row(0)), 0xFF000000u);
        EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(bottom_right), 0xFF000000u);
      }
    }
    EXPECT_NE(pages.page(0).data, pages.page(1).data);
  }
}

TEST(PageSet, SelectionRules) {
  struct Case {
    int work_before, visible_before;
    int work, visible;
    int returned, work_after, visible_after;
    bool marks_all;
  };
  const Case cases[] = {
      {1, 1, -1, -1, 257, 0, 0, true},   // both negative: both 0
      {1, 1, -3, -7, 257, 0, 0, true},
      {0, 0, 1, -1, 0, 1, 0, false},     // work alone
      {1, 0, 0, 0, 1, 0, 0, false},      // same visible page: no marks
      {0, 0, 2, 1, 0, 0, 1, true},       // bad work leaves it, visible switches
      {0, 1, -1, 0, 256, 0, 0, true},    // one negative value is not "both"
      {1, 0, 0, 2, 1, 0, 0, false},      // visible 2 and above changes nothing
      {0, 0, 5, 9, 0, 0, 0, false},
      {1, 0, 0, 1, 1, 0, 1, true},       // the frame loop's switch
  };
  for (const Case& c : cases) {
    PageSet pages(16);
    pages.select(c.work_before, c.visible_before);
    pages.marks().clear();
    SCOPED_TRACE(testing::Message() << "select(" << c.work << ", " << c.visible << ") from "
                                    << c.work_before << "/" << c.visible_before);
    EXPECT_EQ(pages.select(c.work, c.visible), c.returned);
    EXPECT_EQ(pages.work(), c.work_after);
    EXPECT_EQ(pages.visible(), c.visible_after);
    EXPECT_EQ(all_marked(pages.marks()), c.marks_all);
    if (!c.marks_all) {
      EXPECT_FALSE(pages.marks().any());
    }
  }
}

TEST(RowMarks, MarksAreClippedToThePage) {
  RowMarks marks;
  marks.mark(-5, 7);
  marks.mark(598, 10);
  for (int row : {0, 1, 598, 599}) EXPECT_TRUE(marks.marked(row)) << row;
  for (int row : {2, 597}) EXPECT_FALSE(marks.marked(row)) << row;
  marks.mark(600, 8);
  marks.mark(-9, 8);
  marks.clear();
  EXPECT_FALSE(marks.any());
}

}  // namespace
}  // namespace kv
