#include "base/fixed_text.h"

#include <gtest/gtest.h>

namespace base {

namespace {

TEST(FixedText, KeepsAtMostItsWidthAndComparesWithValuesCutToIt) {
  FixedText<10> field("ABCDEFGHIJKL");
  EXPECT_EQ(field.view(), "ABCDEFGHIJ");  // full: no terminator, nothing read past it
  EXPECT_TRUE(field.holds("ABCDEFGHIJXYZ"));
  EXPECT_FALSE(field.holds("ABCDEFGHI"));
  field.fill("ABC");
  EXPECT_EQ(field.view(), "ABC");  // the old tail is cleared
  EXPECT_FALSE(field.holds("ABCD") || field.holds("abc") || field.empty());
  field.fill(std::string_view("A\0B", 3));
  EXPECT_EQ(field.view(), "A");
  field.fill("");
  EXPECT_TRUE(field.empty());
  EXPECT_EQ(fitTerminated("abcdef", 4), "abc");
  EXPECT_EQ(fitTerminated("ab", 0), "");
}

}  // namespace

}  // namespace base
