#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pixels/blit.h"
#include "platform/pixels/kernels.h"

namespace kv::pixels {
namespace {

// The rules stated as values, checked for the reference and every fast path.
class CopyRulesTest : public testing::TestWithParam<Isa> {
 protected:
  void SetUp() override {
    kernels = kernels_for(GetParam());
    if (kernels == nullptr) GTEST_SKIP() << "processor lacks " << isa_name(GetParam());
  }

  template <typename Pixel>
  static Blit row(std::vector<Pixel>& page, std::vector<Pixel>& image) {
    return {reinterpret_cast<std::uint8_t*>(page.data()),
            0,
            reinterpret_cast<std::uint8_t*>(image.data()),
            0,
            static_cast<int>(page.size()),
            1};
  }

  const Kernels* kernels = nullptr;
};

// A row of 64 pixels, so every vector width runs its main loop and not only its tail.
template <typename Pixel>
std::vector<Pixel> repeated(Pixel value) {
  return std::vector<Pixel>(64, value);
}

TEST_P(CopyRulesTest, WhiteOverBlackHalvesThenSettlesOneBelow) {
  auto page16 = repeated<std::uint16_t>(0x0000), white16 = repeated<std::uint16_t>(0xFFFF);
  auto page32 = repeated<std::uint32_t>(0xFF000000), white32 = repeated<std::uint32_t>(0xFFFFFFFF);
  kernels->blend_16(row(page16, white16), 127);
  kernels->blend_32(row(page32, white32), 127);
  EXPECT_EQ(page16[0], (15 << 11) | (31 << 5) | 15);
  EXPECT_EQ(page32[0] & 0xFFFFFF, 0x7F7F7Fu);
  for (int frame = 0; frame < 20; ++frame) {
    kernels->blend_16(row(page16, white16), 127);
    kernels->blend_32(row(page32, white32), 127);
  }
  EXPECT_EQ(page16[63], (30 << 11) | (62 << 5) | 30);
  EXPECT_EQ(page32[63] & 0xFFFFFF, 0xFEFEFEu);
}

// At weight 127 both rules are floor((i + p) / 2) per channel; it also leaves
// a page pixel equal to the image pixel as it is.
TEST_P(CopyRulesTest, Weight127IsTheFloorAverage) {
  std::vector<std::uint32_t> page32, image32, want32;
  for (unsigned p = 0; p < 256; ++p) {
    for (unsigned i = 0; i < 256; ++i) {
      page32.push_back(0x01010101u * p);
      image32.push_back(0x01010101u * i);
      want32.push_back(0x01010101u * ((p + i) / 2));
    }
  }
  kernels->blend_32(row(page32, image32), 127);
  EXPECT_EQ(page32, want32);

  std::vector<std::uint16_t> page16, image16, want16;
  for (unsigned p = 0; p < 64; ++p) {
    for (unsigned i = 0; i < 64; ++i) {
      const auto word = [](unsigned v) {
        return static_cast<std::uint16_t>((v & 31) << 11 | v << 5 | (v & 31));
      };
      if (word(i) == mask_colour_16) continue;
      page16.push_back(word(p));
      image16.push_back(word(i));
      want16.push_back(static_cast<std::uint16_t>(((p & 31) + (i & 31)) / 2 << 11 |
                                                  (p + i) / 2 << 5 | ((p & 31) + (i & 31)) / 2));
    }
  }
  kernels->blend_16(row(page16, image16), 127);
  EXPECT_EQ(page16, want16);
}

// At 16 bits only the word 0xF81F is the key; at 32 bits any top byte with
// 0xFF00FF below it. Weight 0 draws nothing, even where the 32-bit rule would
// move a channel.
TEST_P(CopyRulesTest, MaskColourAndWeightZeroLeaveThePage) {
  const std::vector<std::uint16_t> image16 = {0xF81F, 0xF81E, 0xF01F, 0xF83F, 0x0000};
  const std::vector<bool> drawn16 = {false, true, true, true, true};
  const std::vector<std::uint32_t> image32 = {0xFFFF00FF, 0x00FF00FF, 0x12FF00FF,
                                              0xFFFE00FF, 0xFFFF01FF, 0xFFFF00FE};
  const std::vector<bool> drawn32 = {false, false, false, true, true, true};
  for (int weight : {0, 1, 127, 200, 255, -1}) {
    SCOPED_TRACE(weight);
    for (std::size_t k = 0; k < image16.size(); ++k) {
      auto page = repeated<std::uint16_t>(0x1234), image = repeated(image16[k]);
      if (weight < 0) {
        kernels->keyed_16(row(page, image));
      } else {
        kernels->blend_16(row(page, image), weight);
      }
      EXPECT_EQ(page[0] != 0x1234, drawn16[k] && weight != 0) << std::hex << image16[k];
    }
    for (std::size_t k = 0; k < image32.size(); ++k) {
      auto page = repeated<std::uint32_t>(0xFF808080), image = repeated(image32[k]);
      if (weight < 0) {
        kernels->keyed_32(row(page, image));
      } else {
        kernels->blend_32(row(page, image), weight);
      }
      EXPECT_EQ(page[0] != 0xFF808080, drawn32[k] && weight != 0) << std::hex << image32[k];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryIsa, CopyRulesTest, testing::ValuesIn(all_isas),
                         [](const auto& info) { return std::string(isa_name(info.param)); });

}  // namespace
}  // namespace kv::pixels
