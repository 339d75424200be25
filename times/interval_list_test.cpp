#include "times/interval_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace times {

namespace {

using Chain = std::vector<std::pair<int32_t, int32_t>>;

Chain chainOf(const IntervalList& list) {
  Chain chain;
  for (const Interval interval : list) chain.emplace_back(interval.start, interval.end);
  return chain;
}

Chain added(int32_t mergeMode, const Chain& intervals) {
  IntervalList list(mergeMode);
  for (const auto& [start, end] : intervals) list.add(start, end);
  return chainOf(list);
}

TEST(IntervalListAdd, FullMergeFoldsEverythingThatMeetsButInvertedNodes) {
  EXPECT_EQ(added(MERGE_FULL, {{300, 400}, {100, 200}, {200, 300}}), (Chain{{100, 400}}));
  EXPECT_EQ(added(MERGE_FULL, {{50, 300}, {400, 500}, {0, 1000}}), (Chain{{0, 1000}}));
  EXPECT_EQ(added(MERGE_FULL, {{1, 5}, {10, 15}, {4, 11}}), (Chain{{1, 15}}));
  // Times before 1970 are negative: a node across the epoch is one like any other.
  EXPECT_EQ(added(MERGE_FULL, {{-10, 10}, {100, 200}}), (Chain{{-10, 10}, {100, 200}}));
  EXPECT_EQ(added(MERGE_FULL, {{100, 200}, {250, 150}, {300, 400}, {190, 310}}),
            (Chain{{250, 150}, {100, 400}}));
}

TEST(IntervalListAdd, NewNodesGoToTheTailAfterASort) {
  IntervalList list(0);
  list.add(30, 31);
  list.add(10, 11);
  list.sortByStart(SORT_ASCENDING);
  list.add(50, 51);
  list.add(20, 21);
  EXPECT_EQ(chainOf(list), (Chain{{10, 11}, {30, 31}, {50, 51}, {20, 21}}));
}

// Folding picks the first node in chain order whatever the arrival pattern:
// the result equals a plain walk of the rules over the chain.
TEST(IntervalListAdd, MatchesAPlainWalkOfTheFoldingRules) {
  std::mt19937 random(1150374896);
  std::uniform_int_distribution<int32_t> value(0, 400), length(-20, 60);
  for (int round = 0; round < 300; ++round) {
    IntervalList list(0);
    Chain expected;
    for (int i = 0; i < 40; ++i) {
      const int32_t a = value(random), b = a + length(random);
      list.add(a, b);
      const auto folds = [&](auto& node) {
        auto& [x, y] = node;
        if (x <= a && a <= y && x <= b && b <= y) return true;
        if (x <= a && a <= y && b > y) return y = b, true;
        if (a < x && x <= b && b <= y) return x = a, true;
        return false;
      };
      if (std::none_of(expected.begin(), expected.end(), folds)) expected.emplace_back(a, b);
    }
    ASSERT_EQ(chainOf(list), expected) << "round " << round;
  }
}

// Any chain sorted by the list equals a plain stable sort by start, ascending
// for SORT_ASCENDING and descending for any other direction; nodes are relinked.
TEST(IntervalListSort, MatchesAStableSortOnRandomChains) {
  std::mt19937 random(1138788001);
  std::uniform_int_distribution<int32_t> length(0, 60), value(-20, 20);
  for (int round = 0; round < 300; ++round) {
    IntervalList list(0);
    const int32_t n = length(random);
    for (int32_t i = 0; i < n; ++i) {
      // A node that can match nothing is appended: inverted nodes with distinct
      // ends give a chain of arbitrary starts with many equal ones.
      list.mergeInto(value(random), -1000 - i);
    }
    const IntervalNode* const firstBefore = list.first();
    for (const int32_t direction : {SORT_ASCENDING, 0, -1}) {
      Chain expected = chainOf(list);
      std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
        return direction == SORT_ASCENDING ? a.first < b.first : a.first > b.first;
      });
      list.sortByStart(direction);
      ASSERT_EQ(chainOf(list), expected) << "round " << round << " direction " << direction;
    }
    bool relinked = firstBefore == nullptr;
    for (const IntervalNode* node = list.first(); node != nullptr; node = node->next) {
      relinked = relinked || node == firstBefore;
    }
    EXPECT_TRUE(relinked);
  }
}

}  // namespace

}  // namespace times
