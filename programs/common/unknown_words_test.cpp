#include "programs/common/unknown_words.h"

#include <gtest/gtest.h>

namespace cli {

namespace {

TEST(NearestWord, FindsASlipOfAThirdOfTheWordAtMostAndASwapIsOneSlip) {
  const std::vector<std::string> commands = {"add", "find", "availability", "disks", "remove"};
  EXPECT_EQ(nearestWord("availabilty", commands), "availability");  // a letter left out
  EXPECT_EQ(nearestWord("dsiks", commands), "disks");               // two letters swapped
  EXPECT_EQ(nearestWord("fnid", commands), "find");
  EXPECT_EQ(nearestWord("ad", commands), "add");  // one slip is allowed in any word
  EXPECT_EQ(nearestWord("shelve", commands), std::nullopt);
  EXPECT_EQ(nearestWord("", commands), std::nullopt);
  EXPECT_EQ(nearestWord("add", {}), std::nullopt);
}

}  // namespace

}  // namespace cli
