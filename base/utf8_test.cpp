#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace base {

namespace {

TEST(ReadUtf8, ValidSequencesGiveTheirCodeAndInvalidOnesTheirMaximalPart) {
  struct Case {
    std::string text;
    std::size_t length;
    bool valid;
    uint32_t code;
  };
  for (const Case& c : std::vector<Case>{
           {"A", 1, true, 0x41},
           {"\xC3\xA9x", 2, true, 0xE9},
           {"\xE2\x82\xAC", 3, true, 0x20AC},
           {"\xF0\x9F\x98\x80", 4, true, 0x1F600},
           {"\xF4\x8F\xBF\xBF", 4, true, 0x10FFFF},
           // the first and last code of each length
           {"\x7F", 1, true, 0x7F},
           {"\xC2\x80", 2, true, 0x80},
           {"\xDF\xBF", 2, true, 0x7FF},
           {"\xE0\xA0\x80", 3, true, 0x800},
           {"\xEF\xBF\xBF", 3, true, 0xFFFF},
           {"\xF0\x90\x80\x80", 4, true, 0x10000},
           {"\x80", 1, false, 0},              // a continuation byte alone
           {"\xC1\xBF", 1, false, 0},          // overlong lead
           {"\xE0\x9F\xBF", 1, false, 0},      // overlong three bytes
           {"\xED\xA0\x80", 1, false, 0},      // a surrogate
           {"\xF4\x90\x80\x80", 1, false, 0},  // past U+10FFFF
           {"\xF5\x80", 1, false, 0},
           {"\xE2\x82", 2, false, 0},       // cut short
           {"\xF0\x9F\x98x", 3, false, 0},  // broken in its last byte
       }) {
    const Utf8Sequence read = readUtf8(c.text);
    EXPECT_EQ(read.length, c.length) << c.text;
    EXPECT_EQ(read.valid, c.valid) << c.text;
    EXPECT_EQ(read.code, c.code) << c.text;
  }
}

}  // namespace

}  // namespace base
