#include "platform/console/key_ring.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(KeyRing, HoldsAtMost511KeysDroppingTheOldest) {
  KeyRing ring;
  for (int code = 0; code < 600; ++code) ring.push(code);
  for (int code = 600 - 511; code < 600; ++code) ASSERT_EQ(ring.pop(), code);
  EXPECT_EQ(ring.pop(), std::nullopt);
}

TEST(KeyRing, TakeThroughConsumesUpToTheOldestMatch) {
  KeyRing ring;
  for (int code : {1, 27, 2, 27, 3}) ring.push(code);
  EXPECT_TRUE(ring.take_through(27));
  EXPECT_EQ(ring.pop(), 2);
  EXPECT_TRUE(ring.take_through(27));
  EXPECT_FALSE(ring.take_through(27));
  EXPECT_EQ(ring.pop(), 3);
}

}  // namespace
}  // namespace kv
