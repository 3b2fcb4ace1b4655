#include "platform/clock.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Clock, NeverGoesBackAndStepsInLessThanAMillisecond) {
  double previous = clock_seconds();
  const double start = previous;
  double smallest_step = 1.0;
  // About 20 ms of back-to-back readings.
  while (previous - start < 0.02) {
    const double now = clock_seconds();
    ASSERT_GE(now, previous);
    if (now > previous && now - previous < smallest_step) smallest_step = now - previous;
    previous = now;
  }
  EXPECT_LT(smallest_step, 0.001);
}

}  // namespace
}  // namespace kv
