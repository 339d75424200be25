#include "platform/profile_text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

std::string valueOf(std::string_view text, std::string_view section, std::string_view key) {
  return std::string(ProfileText(text).find(section, key).value_or("<absent>"));
}

TEST(ProfileText, ReadsKeysOfTheirSection) {
  const char* text = "[SYSTEM]\r\nNAME=VELK\r\nFREQ=100\r\n[FILE]\r\nSTREAM=1\r\n";
  EXPECT_EQ(valueOf(text, "SYSTEM", "NAME"), "VELK");
  EXPECT_EQ(valueOf(text, "FILE", "STREAM"), "1");
  EXPECT_EQ(valueOf(text, "FILE", "NAME"), "<absent>");
  EXPECT_EQ(valueOf(text, "HEADER", "HEADER_SIZE"), "<absent>");
}

TEST(ProfileText, TextEndsAtFirstZeroByte) {
  const std::string bytes("[A]\nK=1\n\0[B]\nK=2\n", 17);
  EXPECT_EQ(valueOf(bytes, "A", "K"), "1");
  EXPECT_EQ(valueOf(bytes, "B", "K"), "<absent>");
}

TEST(ProfileText, SkipsByteOrderMark) { EXPECT_EQ(valueOf("\xEF\xBB\xBF[A]\nK=1", "A", "K"), "1"); }

TEST(ProfileText, AcceptsEveryLineEnding) {
  EXPECT_EQ(valueOf("[A]\rK=1\rL=2", "A", "L"), "2");
  EXPECT_EQ(valueOf("[A]\nK=1\nL=2", "A", "L"), "2");
  EXPECT_EQ(valueOf("[A]\r\nK=1\r\n\r\nL=2\r\n", "A", "L"), "2");
}

TEST(ProfileText, TrimsBlanksAndTabsAroundNamesAndValues) {
  const char* text = "  [ SYSTEM\t]  \n \tNAME \t=  VELK 1 \t\n";
  EXPECT_EQ(valueOf(text, "SYSTEM", "NAME"), "VELK 1");
}

TEST(ProfileText, NamesCompareIgnoringAsciiCase) {
  EXPECT_EQ(valueOf("[system]\nname=x", "SYSTEM", "NAME"), "x");
  EXPECT_EQ(valueOf("[Stream1]\nch#=1,2", "STREAM1", "CH#"), "1,2");
}

TEST(ProfileText, CommentLinesAreSkippedButLaterSemicolonsBelongToTheValue) {
  const char* text = "[A]\n;K=1\n  ; K=2\nK=3;not a comment\n";
  EXPECT_EQ(valueOf(text, "A", "K"), "3;not a comment");
}

TEST(ProfileText, MatchingQuotesAroundAValueAreRemoved) {
  EXPECT_EQ(valueOf("[A]\nK=\"quoted value\"", "A", "K"), "quoted value");
  EXPECT_EQ(valueOf("[A]\nK='x'", "A", "K"), "x");
  EXPECT_EQ(valueOf("[A]\nK=\"\"", "A", "K"), "");
  EXPECT_EQ(valueOf("[A]\nK=\"", "A", "K"), "\"");
  EXPECT_EQ(valueOf("[A]\nK=\"mixed'", "A", "K"), "\"mixed'");
}

TEST(ProfileText, FirstSectionOfARepeatedNameAndFirstOfARepeatedKeyWin) {
  const char* text = "[A]\nK=1\nK=2\n[B]\n[a]\nK=3\nL=4\n";
  EXPECT_EQ(valueOf(text, "A", "K"), "1");
  EXPECT_EQ(valueOf(text, "A", "L"), "<absent>");
}

TEST(ProfileText, LinesWithoutEqualsAndKeysBeforeAnySectionGiveNothing) {
  const char* text = "K=0\n[A]\nK\nL = \n";
  EXPECT_EQ(valueOf(text, "A", "K"), "<absent>");
  EXPECT_EQ(valueOf(text, "A", "L"), "");
}

TEST(ProfileText, ValueKeepsFurtherEqualsSigns) {
  EXPECT_EQ(valueOf("[A]\nK=a=b", "A", "K"), "a=b");
}

TEST(ProfileText, SectionNamesAreListedOncePerName) {
  const auto names = ProfileText("[A]\n[GROUP1]\n[a]\n[B]").sectionNames();
  EXPECT_EQ(names, (std::vector<std::string>{"A", "GROUP1", "B"}));
}

TEST(ProfileIntValue, ReadsSignedDecimalUpToFirstNonDigit) {
  EXPECT_EQ(profileIntValue("100", -1), 100);
  EXPECT_EQ(profileIntValue(" -20abc", -1), -20);
  EXPECT_EQ(profileIntValue("x12", -1), 0);
  EXPECT_EQ(profileIntValue("4294967396", -1), 100);
}

TEST(ProfileIntValue, EmptyOrAbsentValueGivesDefault) {
  EXPECT_EQ(profileIntValue("", -10), -10);
  EXPECT_EQ(profileIntValue(std::nullopt, -1), -1);
  EXPECT_EQ(valueOf("[A]\nK=\"\"", "A", "K"), "");  // so "" reads as the default too
  EXPECT_EQ(profileIntValue(ProfileText("[A]\nK=\"\"").find("A", "K"), 7), 7);
}

}  // namespace
}  // namespace platform
