#include "base/fixed_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FixedText, ShortValueIsStoredWhole) {
  FixedText<10> field("VELK");
  EXPECT_EQ(field.view(), "VELK");
  EXPECT_FALSE(field.empty());
}

TEST(FixedText, LongValueFillsFieldWithoutTerminator) {
  FixedText<10> field("ABCDEFGHIJKL");
  EXPECT_EQ(field.view(), "ABCDEFGHIJ");
}

TEST(FixedText, RefillClearsTheOldTail) {
  FixedText<10> field("ABCDEFGHIJ");
  field.fill("XY");
  EXPECT_EQ(field.view(), "XY");
  field.fill("");
  EXPECT_TRUE(field.empty());
}

TEST(FixedText, HoldsComparesWithTheValueCutToTheWidth) {
  FixedText<10> full("ABCDEFGHIJKL");
  EXPECT_TRUE(full.holds("ABCDEFGHIJKL"));
  EXPECT_TRUE(full.holds("ABCDEFGHIJXYZ"));
  EXPECT_FALSE(full.holds("ABCDEFGHI"));
  FixedText<10> shortText("ABC");
  EXPECT_TRUE(shortText.holds("ABC"));
  EXPECT_FALSE(shortText.holds("ABCD"));
  EXPECT_FALSE(shortText.holds("abc"));
}

TEST(FitTerminated, LeavesRoomForTheTerminator) {
  EXPECT_EQ(fitTerminated("abcdef", 4), "abc");
  EXPECT_EQ(fitTerminated("ab", 4), "ab");
  EXPECT_EQ(fitTerminated("ab", 0), "");
}

}  // namespace
