#include "platform/name_match.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(WildcardMatch, StarDotStarMatchesEveryNameWithOrWithoutDot) {
  EXPECT_TRUE(wildcardMatch("*.*", "P0415001.DAT"));
  EXPECT_TRUE(wildcardMatch("*.*", "20060415"));
  EXPECT_TRUE(wildcardMatch("*.*", "."));
}

TEST(WildcardMatch, StarDotAloneMatchesNamesWithoutDot) {
  EXPECT_TRUE(wildcardMatch("*.", "20060415"));
  EXPECT_FALSE(wildcardMatch("*.", "P0415001.DAT"));
}

TEST(WildcardMatch, ExtensionPatternIgnoresAsciiCase) {
  EXPECT_TRUE(wildcardMatch("*.DAT", "p0415001.dat"));
  EXPECT_TRUE(wildcardMatch("*.dat", "P0415001.DAT"));
  EXPECT_FALSE(wildcardMatch("*.DAT", "P0415001.DATA"));
  EXPECT_FALSE(wildcardMatch("*.DAT", "P0415001DAT"));
}

TEST(WildcardMatch, QuestionMarkMatchesExactlyOneCharacter) {
  EXPECT_TRUE(wildcardMatch("*.D?T", "A.DOT"));
  EXPECT_FALSE(wildcardMatch("*.D?T", "A.DT"));
  EXPECT_TRUE(wildcardMatch("*.??", "A.B.CD"));
}

TEST(WildcardMatch, StarsBacktrackWithoutBlowingUp) {
  const std::string name(4000, 'a');
  EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(wildcardMatch("*a*a*a*", name));
}

TEST(EntryNameLess, FoldsLettersThenBreaksTiesByRawBytes) {
  EXPECT_TRUE(entryNameLess("a.dat", "B.DAT"));
  EXPECT_TRUE(entryNameLess("P0001", "p0001"));  // equal when folded: raw 'P' < 'p'
  EXPECT_FALSE(entryNameLess("p0001", "P0001"));
  // Letters fold to upper case, so every letter sorts before '_' (0x5F).
  EXPECT_TRUE(entryNameLess("Z", "_"));
  EXPECT_TRUE(entryNameLess("a", "_"));
  EXPECT_TRUE(entryNameLess("20060415", "P0415001.DAT"));
}

}  // namespace
}  // namespace platform
