#include "platform/profile_text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

std::string valueOf(std::string_view text, std::string_view section, std::string_view key) {
  return std::string(ProfileText(text, ProfileDialect::kPosix).find(section, key).value_or("<absent>"));
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
  const auto names = ProfileText("[A]\n[GROUP1]\n[a]\n[B]", ProfileDialect::kPosix).sectionNames();
  EXPECT_EQ(names, (std::vector<std::string>{"A", "GROUP1", "B"}));
}

int32_t intOf(std::string_view text, ProfileDialect dialect, int32_t defaultValue = -1) {
  return ProfileText(std::string("[A]\nK=") + std::string(text), dialect).readInt("A", "K",
                                                                                defaultValue);
}

TEST(ProfileTextPosixInt, ReadsSignedDecimalUpToFirstNonDigit) {
  EXPECT_EQ(intOf("100", ProfileDialect::kPosix), 100);
  EXPECT_EQ(intOf(" -20abc", ProfileDialect::kPosix), -20);
  EXPECT_EQ(intOf("x12", ProfileDialect::kPosix), 0);
  EXPECT_EQ(intOf("4294967396", ProfileDialect::kPosix), 100);
  EXPECT_EQ(intOf("0x10", ProfileDialect::kPosix), 0);
}

TEST(ProfileTextPosixInt, EmptyOrAbsentValueGivesDefault) {
  EXPECT_EQ(intOf("", ProfileDialect::kPosix, -10), -10);
  EXPECT_EQ(intOf("\"\"", ProfileDialect::kPosix, 7), 7);
  EXPECT_EQ(ProfileText("[A]\n", ProfileDialect::kPosix).readInt("A", "K", -1), -1);
}

TEST(ProfileTextPosix, StringIsCutToTheBuffer) {
  const ProfileText text("[SYSTEM]\r\nNAME=ABCDEFGHIJ\r\n", ProfileDialect::kPosix);
  EXPECT_EQ(text.readString("SYSTEM", "NAME", 100), "ABCDEFGHIJ");
  EXPECT_EQ(text.readString("SYSTEM", "NAME", 5), "ABCD");
  EXPECT_EQ(text.readString("SYSTEM", "LAT", 100), "");
}

// Where the Windows platform's reader differs; win32/profile_text_win32_test.cpp
// proves the dialect equal to the platform's calls on thousands of headers.
std::string windowsValue(std::string_view text, std::string_view section, std::string_view key,
                         std::size_t size = 100) {
  return ProfileText(text, ProfileDialect::kWindows).readString(section, key, size);
}

TEST(ProfileTextWindows, ReadsPastAZeroByteButTheFirstSectionOfANameWins) {
  std::string bytes = "[HEADER]\r\nHEADER_SIZE=64\r\n";
  bytes.resize(64, '\0');
  bytes += "\r\n[HEADER]\r\nHEADER_SIZE=1\r\n[BINARY]\r\nK=1\r\n";
  EXPECT_EQ(windowsValue(bytes, "HEADER", "HEADER_SIZE"), "64");
  EXPECT_EQ(windowsValue(bytes, "BINARY", "K"), "1");
  EXPECT_EQ(ProfileText(bytes, ProfileDialect::kWindows).sectionNames(),
            (std::vector<std::string>{"HEADER", "HEADER", "BINARY"}));
}

TEST(ProfileTextWindows, SemicolonLineIsAKeyAndASectionEndsAtItsLastBracket) {
  EXPECT_EQ(windowsValue("[A]\r\n;C=1\r\n", "A", ";C"), "1");
  EXPECT_EQ(windowsValue("[\tA ]\r\nK=1\r\n", "A", "K"), "1");
  EXPECT_EQ(windowsValue("[A] x]\r\nK=1\r\n", "A] x", "K"), "1");
}

TEST(ProfileTextWindows, IntegersTakeABasePrefix) {
  EXPECT_EQ(intOf("0x10", ProfileDialect::kWindows), 16);
  EXPECT_EQ(intOf("-0b101", ProfileDialect::kWindows), -5);
  EXPECT_EQ(intOf("0X10", ProfileDialect::kWindows), 0);
  EXPECT_EQ(intOf("4294967396", ProfileDialect::kWindows), 100);
  EXPECT_EQ(intOf("", ProfileDialect::kWindows, -10), -10);
}

TEST(ProfileTextWindows, QuotesGoOnlyWhenTheWholeValueFits) {
  EXPECT_EQ(windowsValue("[A]\nK=\"abc\"", "A", "K"), "abc");
  EXPECT_EQ(windowsValue("[A]\nK=\"abc\"", "A", "K", 4), "ab");
  EXPECT_EQ(windowsValue("[A]\nK=\"abc\"", "A", "K", 3), "ab");
}

}  // namespace
}  // namespace platform
