#include "profile/profile_text.h"

#include <gtest/gtest.h>

namespace profile {
namespace {

using namespace std::string_literals;

struct Lookup {
  std::string text, section, key, value;  // value "<absent>": no value found
};

std::string valueOf(const Lookup& lookup, ProfileDialect dialect) {
  const ProfileText text(lookup.text, dialect);
  return std::string(text.find(lookup.section, lookup.key).value_or("<absent>"));
}

TEST(ProfileTextPosix, ReadsTheValuesOfAnInitialisationFile) {
  const std::vector<Lookup> cases = {
      {"[SYSTEM]\r\nNAME=VELK\r\n[FILE]\r\nSTREAM=1\r\n", "FILE", "STREAM", "1"},
      {"[SYSTEM]\r\nNAME=VELK\r\n[FILE]\r\nSTREAM=1\r\n", "FILE", "NAME", "<absent>"},
      {"[SYSTEM]\r\nNAME=VELK\r\n", "HEADER", "NAME", "<absent>"},
      {"[A]\nK=1\n\0[B]\nK=2\n"s, "B", "K", "<absent>"},  // ends at a zero byte
      {"\xEF\xBB\xBF[A]\nK=1", "A", "K", "1"},
      {"[A]\rK=1\rL=2", "A", "L", "2"},
      {"[A]\r\nK=1\r\n\r\nL=2\r\n", "A", "L", "2"},
      {"  [ SYSTEM\t]  \n \tNAME \t=  VELK 1 \t\n", "SYSTEM", "NAME", "VELK 1"},
      {"[system]\nname=x", "SYSTEM", "NAME", "x"},
      {"[A]\n;K=1\n  ; K=2\nK=3;not a comment\n", "A", "K", "3;not a comment"},
      {"[A]\nK=\"quoted value\"", "A", "K", "quoted value"},
      {"[A]\nK='x'", "A", "K", "x"},
      {"[A]\nK=\"", "A", "K", "\""},
      {"[A]\nK=\"mixed'", "A", "K", "\"mixed'"},
      {"[A]\nK=1\nK=2\n[B]\n[a]\nK=3\nL=4\n", "A", "K", "1"},  // first section and key win
      {"[A]\nK=1\nK=2\n[B]\n[a]\nK=3\nL=4\n", "A", "L", "<absent>"},
      {"[A]\nK=1\n[B]\nL=2\n", "A", "L", "<absent>"},  // a section's keys end at the next
      {"K=0\n[A]\nK\nL = \n", "A", "K", "<absent>"},   // no '=', keys before any section
      {"K=0\n[A]\nK\nL = \n", "A", "L", ""},
      {"[A]\nK=a=b", "A", "K", "a=b"},
      {"[A\nK=1", "A", "K", "1"},  // a missing ']' ends the name at the line's end
  };
  for (const Lookup& lookup : cases) {
    EXPECT_EQ(valueOf(lookup, ProfileDialect::kPosix), lookup.value) << lookup.text;
  }
  EXPECT_EQ(ProfileText("[A]\n[GROUP1]\n[a]\n[B]", ProfileDialect::kPosix).sectionNames(),
            (std::vector<std::string>{"A", "GROUP1", "B"}));
}

TEST(ProfileTextWindows, ReadsAsThePlatformsPrivateProfileCalls) {
  const std::vector<Lookup> cases = {
      {"[H]\r\nK=64\r\n\0\0\r\n[H]\r\nK=1\r\n[BINARY]\r\nK=1\r\n"s, "BINARY", "K", "1"},
      {"[H]\r\nK=64\r\n\0\0\r\n[H]\r\nK=1\r\n[BINARY]\r\nK=1\r\n"s, "H", "K", "64"},
      {"[A]\r\n;C=1\r\n", "A", ";C", "1"},
      {"[\tA ]\r\nK=1\r\n", "A", "K", "1"},
      {"[A] x]\r\nK=1\r\n", "A] x", "K", "1"},
      {"[A\r\nK=1\r\n", "A", "K", "<absent>"},
      {"[A]\r\nK\r\n", "A", "K", "<absent>"},
      {"[A]\r\nK=1\r\n[B]\r\nL=2\r\n", "A", "L", "<absent>"},
      {"\xEF\xBB\xBF[A]\nK=\xC3\xA9\xE9", "A", "K", "\xE9?"},
      {"\xEF\xBB\xBF[A]\nK=\xC3\x80\xF0\x80\x80\x80", "A", "K", "\xC0????"},
      {"\xEF\xBB\xBF[A]\nK=\xE2\x82\xAC\xC2\xA0\xC2\x80\xE0\xA4\x85", "A", "K", "\x80\xA0??"},
  };
  for (const Lookup& lookup : cases) {
    EXPECT_EQ(valueOf(lookup, ProfileDialect::kWindows), lookup.value) << lookup.text;
  }
  EXPECT_EQ(ProfileText("[H]\r\n\0\0\r\n[H]\r\n[B]\r\n"s, ProfileDialect::kWindows).sectionNames(),
            (std::vector<std::string>{"H", "H", "B"}));
}

TEST(ProfileText, StringsAreCutToTheBufferAndWindowsQuotesGoOnlyWhenTheyFit) {
  const ProfileText posix("[S]\r\nNAME=ABCDEFGHIJ\r\nQ=\"abc\"\r\n", ProfileDialect::kPosix);
  EXPECT_EQ(posix.readString("S", "NAME", 5), "ABCD");
  EXPECT_EQ(posix.readString("S", "Q", 100), "abc");
  EXPECT_EQ(posix.readString("S", "LAT", 100), "");
  const ProfileText windows("[S]\r\nNAME=ABCDEFGHIJ\r\nQ=\"abc\"\r\n", ProfileDialect::kWindows);
  EXPECT_EQ(windows.readString("S", "NAME", 5), "ABCD");
  EXPECT_EQ(windows.readString("S", "Q", 100), "abc");
  EXPECT_EQ(windows.readString("S", "Q", 4), "ab");
  EXPECT_EQ(windows.readString("S", "Q", 3), "ab");
}

TEST(ProfileText, LargeHeadersAreSearchedThroughTheirIndexAlike) {
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "[S" + std::to_string(i) + "]\nK=" + std::to_string(i) + "\n";
  text += "[s7]\nK=again\n";
  for (const ProfileDialect dialect : {ProfileDialect::kPosix, ProfileDialect::kWindows}) {
    const ProfileText parsed(text, dialect);
    for (int i = 0; i < 100; ++i) {
      EXPECT_EQ(parsed.readString("s" + std::to_string(i), "K", 100), std::to_string(i));
    }
    EXPECT_EQ(parsed.readString("S100", "K", 100), "");
  }
}

TEST(ProfileText, AReadOfOneSectionAnswersForItAsTheWholeReadDoes) {
  // Keys before any section, a repeated section (the first counts), names in
  // other cases and with blanks, a Windows key without a value, and a section
  // whose name only begins like the one read.
  const std::string text =
      "K=0\n[FILE]\nK=1\n[ header ]\nK=2\nN\n[HEADERS]\nK=3\n[Header]\nK=4\nJ=5\n";
  for (const ProfileDialect dialect : {ProfileDialect::kPosix, ProfileDialect::kWindows}) {
    const ProfileText whole(text, dialect), header(text, dialect, "HEADER");
    for (const char* section : {"HEADER", "header", " HEADER "}) {
      for (const char* key : {"K", "J", "N", "X"}) {
        EXPECT_EQ(header.find(section, key), whole.find(section, key)) << section << key;
      }
    }
    EXPECT_TRUE(whole.find("FILE", "K"));
    EXPECT_FALSE(header.find("FILE", "K"));
  }
}

TEST(ProfileText, IntegersByDialect) {
  const std::vector<std::tuple<std::string, int32_t, int32_t>> cases = {
      // value, as kPosix reads it, as kWindows reads it (default -7)
      {"100", 100, 100},        {" -20abc", -20, -20}, {"x12", 0, 0},
      {"4294967396", 100, 100}, {"0x10", 0, 16},       {"-0b101", 0, -5},
      {"0X10", 0, 0},           {"", -7, -7},          {"\"\"", -7, -7},
  };
  for (const auto& [value, posix, windows] : cases) {
    const std::string text = "[A]\nK=" + value;
    EXPECT_EQ(ProfileText(text, ProfileDialect::kPosix).readInt("A", "K", -7), posix) << value;
    EXPECT_EQ(ProfileText(text, ProfileDialect::kWindows).readInt("A", "K", -7), windows) << value;
  }
  EXPECT_EQ(ProfileText("[A]\n", ProfileDialect::kPosix).readInt("A", "K", -1), -1);
}

}  // namespace
}  // namespace profile
