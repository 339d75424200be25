#include "base/c_scan.h"

#include <gtest/gtest.h>

namespace {

int32_t scanOne(std::string_view text, bool* found = nullptr) {
  std::size_t pos = 0;
  int32_t value = 0;
  const bool ok = scanDecimal(text, pos, value);
  if (found) *found = ok;
  return value;
}

TEST(ScanDecimal, SkipsLeadingWhiteSpaceAndTakesSign) {
  EXPECT_EQ(scanOne("  42"), 42);
  EXPECT_EQ(scanOne("\t-7x"), -7);
  EXPECT_EQ(scanOne("+15"), 15);
}

TEST(ScanDecimal, StopsAtFirstCharacterThatCannotContinue) {
  std::size_t pos = 0;
  int32_t value = 0;
  ASSERT_TRUE(scanDecimal("12:30", pos, value));
  EXPECT_EQ(value, 12);
  EXPECT_EQ(pos, 2u);
}

TEST(ScanDecimal, NoDigitLeavesValueAndPositionUnchanged) {
  std::size_t pos = 1;
  int32_t value = 99;
  EXPECT_FALSE(scanDecimal("x-", pos, value));
  EXPECT_FALSE(scanDecimal("x- 3", pos, value));  // a sign must be followed by a digit
  EXPECT_FALSE(scanDecimal("", pos, value));
  EXPECT_EQ(value, 99);
  EXPECT_EQ(pos, 1u);
}

TEST(ScanDecimal, NumbersPastThirtyTwoBitsWrap) {
  EXPECT_EQ(scanOne("2147483648"), INT32_MIN);
  EXPECT_EQ(scanOne("4294967297"), 1);
  EXPECT_EQ(scanOne("-2147483648"), INT32_MIN);
  EXPECT_EQ(scanOne("99999999999999999999"), 1661992959);
}

TEST(ScanDecimals, DateFormatFillsDayMonthYear) {
  int32_t v[3] = {0, 0, 0};
  EXPECT_EQ(scanDecimals("01-02-2006", "--", v), 3);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[1], 2);
  EXPECT_EQ(v[2], 2006);
}

TEST(ScanDecimals, SeparatorMismatchStopsAndLeavesTheRest) {
  int32_t v[4] = {0, 0, 0, 0};
  EXPECT_EQ(scanDecimals("10:00 :01.25", "::.", v), 2);
  EXPECT_EQ(v[0], 10);
  EXPECT_EQ(v[1], 0);
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(v[3], 0);
}

TEST(ScanDecimals, BlanksBeforeANumberAreSkippedButNotBeforeASeparator) {
  int32_t v[3] = {0, 0, 0};
  EXPECT_EQ(scanDecimals(" 1- 2-  2006", "--", v), 3);
  EXPECT_EQ(v[2], 2006);
  int32_t w[3] = {0, 0, 0};
  EXPECT_EQ(scanDecimals("1 -2-2006", "--", w), 1);
}

TEST(ScanDecimals, EmptyTextStoresNothing) {
  int32_t v[3] = {5, 5, 5};
  EXPECT_EQ(scanDecimals("", "--", v), 0);
  EXPECT_EQ(v[0], 5);
}

}  // namespace
