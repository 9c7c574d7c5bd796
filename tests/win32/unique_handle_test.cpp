#include "platform/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane::win32 {
namespace {

// Handles are small integers; 0 is "none"; closing 13 fails. Every close is recorded.
std::vector<int> closed;

struct CountingTraits {
  using Value = int;
  static Value Invalid() { return 0; }
  static bool Close(Value value) {
    closed.push_back(value);
    return value != 13;
  }
};

using Handle = UniqueHandle<CountingTraits>;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandleTest, ClosesOnceWhenDestroyed) {
  { Handle handle(7); }
  { Handle none; }
  EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, MoveHandsOverWithoutClosing) {
  Handle first(7);
  Handle second(std::move(first));
  EXPECT_FALSE(first.Valid());
  EXPECT_TRUE(closed.empty());
  Handle third(8);
  third = std::move(second);  // closes 8, takes 7
  EXPECT_EQ(closed, std::vector<int>{8});
  EXPECT_EQ(third.Get(), 7);
}

TEST_F(UniqueHandleTest, AttachClosesTheOldHandleAndDetachKeepsItOpen) {
  Handle handle(7);
  handle.Attach(9);
  EXPECT_EQ(handle.Detach(), 9);
  EXPECT_FALSE(handle);
  EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, CloseReportsFailureAndLeavesNothingToCloseAgain) {
  Handle handle(13);
  EXPECT_FALSE(handle.Close());
  EXPECT_TRUE(handle.Close());
  EXPECT_EQ(closed, std::vector<int>{13});
}

}  // namespace
}  // namespace morvane::win32
