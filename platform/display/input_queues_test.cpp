#include "platform/display/input_queues.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(KeyBuffer, HoldsFifteenCodesAndDropsTheOldest) {
  KeyBuffer buffer;
  for (int code = 1; code <= 17; ++code) buffer.push(code);
  EXPECT_EQ(buffer.size(), 15u);
  for (int code = 3; code <= 17; ++code) EXPECT_EQ(buffer.pop(), code);
  EXPECT_EQ(buffer.pop(), std::nullopt);
  buffer.push(close_request_key);
  EXPECT_EQ(buffer.pop(), 27647);
}

TEST(EventQueue, Holds127Notices) {
  EventQueue queue;
  for (int i = 0; i < 200; ++i) queue.push(WindowNotice::close);
  int count = 0;
  while (queue.pop()) ++count;
  EXPECT_EQ(count, 127);
}

}  // namespace
}  // namespace kv
