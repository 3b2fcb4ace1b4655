#include "platform/display/row_conversion.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(RowConversion, SixteenBitPixelsAreWidenedByShifting) {
  const std::pair<std::uint16_t, std::uint32_t> cases[] = {
      {0xFFFF, 0xFFF8FCF8},  // white shows as 248, 252, 248
      {0x0000, 0xFF000000}, {0xF800, 0xFFF80000}, {0x07E0, 0xFF00FC00},
      {0x001F, 0xFF0000F8}, {0x8410, 0xFF808080}, {0x0821, 0xFF080408},
      {0xF81F, 0xFFF800F8},
  };
  std::uint16_t page[8];
  std::uint32_t screen[8];
  for (int i = 0; i < 8; ++i) page[i] = cases[i].first;
  widen_565_row(page, screen, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(screen[i], cases[i].second) << std::hex << page[i];
}

TEST(RowConversion, ThirtyTwoBitPixelsAreCopiedWithTheirTopByte) {
  const std::uint32_t page[3] = {0x12345678, 0x00FFFFFF, 0xFF000000};
  std::uint32_t screen[4] = {0, 0, 0, 0xDEADBEEF};
  copy_8888_row(page, screen, 3);
  EXPECT_EQ(screen[0], 0x12345678u);
  EXPECT_EQ(screen[1], 0x00FFFFFFu);
  EXPECT_EQ(screen[2], 0xFF000000u);
  EXPECT_EQ(screen[3], 0xDEADBEEFu);
}

TEST(RowConversion, ThirtyTwoBitPixelsOnASixteenBitScreenTruncate) {
  const std::uint32_t page[2] = {0xFF00FF00, 0x00FFFFFF};
  std::uint16_t screen[2];
  narrow_8888_row(page, screen, 2);
  EXPECT_EQ(screen[0], 0x07E0);
  EXPECT_EQ(screen[1], 0xFFFF);
}

}  // namespace
}  // namespace kv
