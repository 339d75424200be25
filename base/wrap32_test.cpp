#include "base/wrap32.h"

#include <gtest/gtest.h>

namespace base {

namespace {

TEST(Wrap32, ArithmeticWrapsAroundTwoToThe32AndDivisionNeverFaults) {
  EXPECT_EQ(wrapAdd(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(wrapSub(INT32_MIN, 1), INT32_MAX);
  EXPECT_EQ(wrapMul(65536, 65536), 0);
  EXPECT_EQ(wrapMul(-3, 7), -21);
  EXPECT_EQ(wrapToInt32(int64_t{5000000000}), 705032704);
  EXPECT_EQ(wrapDiv(-7, 2), -3);
  EXPECT_EQ(wrapDiv(7, 0), 0);
  EXPECT_EQ(wrapDiv(INT32_MIN, -1), INT32_MIN);
}

}  // namespace

}  // namespace base
