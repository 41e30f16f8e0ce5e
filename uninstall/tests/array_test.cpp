// The growable array of the line index and the memory error that ends the process.
#include <gtest/gtest.h>

#include "base/Array.h"
#include "base/ErrorState.h"

namespace {

TEST(ArrayOfInt, GrowsByAQuarterPlus32AndKeepsItsValues) {
  Array<int> a;
  EXPECT_EQ(0, a.capacity);
  a.Add(7);
  EXPECT_EQ(32, a.capacity);  // 0 + 0 + 32
  for (int i = 1; i < 33; ++i) a.Add(7 + i);
  EXPECT_EQ(72, a.capacity);  // 32 + 8 + 32
  ASSERT_EQ(33, a.count);
  for (int i = 0; i < 33; ++i) EXPECT_EQ(7 + i, a[i]);
  a.Clear();
  EXPECT_EQ(0, a.count);
  EXPECT_EQ(nullptr, a.items);
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
TEST(ErrorStateDeathTest, MemoryErrorEndsTheProcessWithExitCode8) {
  EXPECT_EXIT(errorState.MemoryError(), ::testing::ExitedWithCode(8), "");
}
#endif

}  // namespace
