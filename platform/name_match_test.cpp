#include "platform/name_match.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(WildcardMatch, CdRules) {
  const std::vector<std::tuple<const char*, const char*, bool>> cases = {
      {"*.*", "P0415001.DAT", true}, {"*.*", "20060415", true},       {"*.", "20060415", true},
      {"*.", "P0415001.DAT", false}, {"*.DAT", "p0415001.dat", true}, {"*.DAT", "P1.DATA", false},
      {"*.DAT", "P1DAT", false},     {"*.D?T", "A.DOT", true},        {"*.D?T", "A.DT", false},
      {"*.??", "A.B.CD", true},
  };
  for (const auto& [pattern, name, matches] : cases) {
    EXPECT_EQ(wildcardMatch(pattern, name), matches) << pattern << " " << name;
  }
  const std::string name(4000, 'a');  // stars backtrack without blowing up
  EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(wildcardMatch("*a*a*a*", name));
}

TEST(EntryNameLess, FoldsLettersThenBreaksTiesByRawBytes) {
  EXPECT_TRUE(entryNameLess("a.dat", "B.DAT"));
  EXPECT_TRUE(entryNameLess("P0001", "p0001"));
  EXPECT_FALSE(entryNameLess("p0001", "P0001"));
  EXPECT_TRUE(entryNameLess("a", "_"));  // letters fold to upper case, before '_'
  EXPECT_FALSE(entryNameLess("_", "Z"));
}

}  // namespace
}  // namespace platform
