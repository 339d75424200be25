#include "timecov/interval_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace {

using Chain = std::vector<std::pair<int32_t, int32_t>>;

Chain chainOf(const IntervalList& list) {
  Chain chain;
  for (const IntervalNode* node = list.first(); node != nullptr; node = node->next) {
    chain.emplace_back(node->start, node->end);
  }
  return chain;
}

void addAll(IntervalList& list, const Chain& intervals) {
  for (const auto& [start, end] : intervals) list.add(start, end);
}

TEST(IntervalListAdd, TouchingIntervalsFoldIntoOne) {
  IntervalList list(0);
  addAll(list, {{100, 200}, {200, 300}});
  EXPECT_EQ(chainOf(list), (Chain{{100, 300}}));
  list.add(50, 100);
  EXPECT_EQ(chainOf(list), (Chain{{50, 300}}));
}

TEST(IntervalListAdd, SeparateIntervalsKeepArrivalOrderAtTheTail) {
  IntervalList list(0);
  addAll(list, {{50, 300}, {400, 500}, {10, 20}});
  EXPECT_EQ(chainOf(list), (Chain{{50, 300}, {400, 500}, {10, 20}}));
}

TEST(IntervalListAdd, EnclosingIntervalBecomesANodeOfItsOwn) {
  IntervalList list(0);
  addAll(list, {{50, 300}, {400, 500}, {0, 1000}});
  EXPECT_EQ(chainOf(list), (Chain{{50, 300}, {400, 500}, {0, 1000}}));
}

TEST(IntervalListAdd, BridgingIntervalExtendsOnlyTheFirstNodeItMeets) {
  IntervalList list(0);
  addAll(list, {{50, 300}, {400, 500}, {250, 450}});
  EXPECT_EQ(chainOf(list), (Chain{{50, 450}, {400, 500}}));
}

TEST(IntervalListAdd, WithoutFullMergeTouchingNodesMayStay) {
  IntervalList list(0);
  addAll(list, {{300, 400}, {100, 200}, {200, 300}});
  EXPECT_EQ(chainOf(list), (Chain{{200, 400}, {100, 200}}));
}

TEST(IntervalListAdd, EqualAndZeroLengthIntervals) {
  IntervalList list(0);
  addAll(list, {{100, 200}, {100, 200}, {150, 150}, {200, 200}, {100, 100}});
  EXPECT_EQ(chainOf(list), (Chain{{100, 200}}));
  list.add(300, 300);
  EXPECT_EQ(chainOf(list), (Chain{{100, 200}, {300, 300}}));
}

TEST(IntervalListAdd, InvertedIntervalIsAbsorbedOnlyWithinOneNode) {
  IntervalList list(0);
  addAll(list, {{100, 200}, {180, 120}});
  EXPECT_EQ(chainOf(list), (Chain{{100, 200}}));
  list.add(250, 150);
  EXPECT_EQ(chainOf(list), (Chain{{100, 200}, {250, 150}}));
}

TEST(IntervalListFullMerge, FoldsEverythingThatMeets) {
  IntervalList a(MERGE_FULL);
  addAll(a, {{300, 400}, {100, 200}, {200, 300}});
  EXPECT_EQ(chainOf(a), (Chain{{100, 400}}));
  IntervalList b(MERGE_FULL);
  addAll(b, {{50, 300}, {400, 500}, {0, 1000}});
  EXPECT_EQ(chainOf(b), (Chain{{0, 1000}}));
  IntervalList c(MERGE_FULL);
  addAll(c, {{1, 5}, {10, 15}, {4, 11}});
  EXPECT_EQ(chainOf(c), (Chain{{1, 15}}));
}

TEST(IntervalListFullMerge, InvertedNodesTakeNoPartAndTheMergeEnds) {
  IntervalList list(MERGE_FULL);
  addAll(list, {{100, 200}, {250, 150}, {300, 400}, {190, 310}});
  EXPECT_EQ(chainOf(list), (Chain{{250, 150}, {100, 400}}));
}

TEST(IntervalListAdd, NewNodesGoToTheTailAfterSortAndRemoval) {
  IntervalList list(0);
  addAll(list, {{30, 31}, {10, 11}});
  list.sortByStart(SORT_ASCENDING);
  list.add(50, 51);
  EXPECT_EQ(chainOf(list), (Chain{{10, 11}, {30, 31}, {50, 51}}));
  list.removeAt(2);
  list.add(20, 21);
  EXPECT_EQ(chainOf(list), (Chain{{10, 11}, {30, 31}, {20, 21}}));
  list.removeAt(0);
  list.removeAt(0);
  list.removeAt(0);
  list.add(5, 6);
  list.add(7, 8);
  EXPECT_EQ(chainOf(list), (Chain{{5, 6}, {7, 8}}));
}

// Folding picks the first node in chain order whatever the arrival pattern:
// the result equals a plain walk of the rules over the chain.
TEST(IntervalListAdd, MatchesAPlainWalkOfTheFoldingRules) {
  std::mt19937 random(1150374896);
  for (int round = 0; round < 300; ++round) {
    std::uniform_int_distribution<int32_t> value(0, 400);
    std::uniform_int_distribution<int32_t> length(-20, 60);
    IntervalList list(0);
    Chain expected;
    for (int i = 0; i < 40; ++i) {
      const int32_t a = value(random), b = a + length(random);
      list.add(a, b);
      bool folded = false;
      for (auto& [x, y] : expected) {
        if (x <= a && a <= y && x <= b && b <= y)
          folded = true;
        else if (x <= a && a <= y && b > y)
          y = b, folded = true;
        else if (a < x && x <= b && b <= y)
          x = a, folded = true;
        if (folded) break;
      }
      if (!folded) expected.emplace_back(a, b);
    }
    ASSERT_EQ(chainOf(list), expected) << "round " << round;
  }
}

TEST(IntervalListAccess, CountAtAndRemoveAt) {
  IntervalList list(0);
  EXPECT_EQ(list.count(), 0);
  int32_t start = 7, end = 8;
  EXPECT_EQ(list.at(0, &start, &end), -1);
  EXPECT_EQ(start, 7);
  addAll(list, {{1, 2}, {3, 4}});
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.at(1, &start, &end), 0);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(3, 4));
  EXPECT_EQ(list.at(2, &start, &end), -1);
  EXPECT_EQ(list.at(-1, &start, &end), -1);
  list.removeAt(0);
  EXPECT_EQ(chainOf(list), (Chain{{3, 4}}));
  list.removeAt(0);
  EXPECT_EQ(list.count(), 0);
}

// Folding never leaves two nodes of equal start, but inverted intervals that
// match nothing are appended as given, which builds such a chain.
TEST(IntervalListSort, AscendingAndDescendingKeepEqualStartsInOrder) {
  IntervalList list(0);
  addAll(list, {{5, 9}});
  list.mergeInto(5, 4);
  list.mergeInto(3, 2);
  list.sortByStart(SORT_ASCENDING);
  EXPECT_EQ(chainOf(list), (Chain{{3, 2}, {5, 9}, {5, 4}}));
  list.sortByStart(0);
  EXPECT_EQ(chainOf(list), (Chain{{5, 9}, {5, 4}, {3, 2}}));
  list.sortByStart(-7);
  EXPECT_EQ(chainOf(list), (Chain{{5, 9}, {5, 4}, {3, 2}}));
}

TEST(IntervalListSort, ThreeNodeExample) {
  IntervalList list(0);
  addAll(list, {{50, 300}, {400, 500}, {10, 20}});
  list.sortByStart(SORT_ASCENDING);
  EXPECT_EQ(chainOf(list), (Chain{{10, 20}, {50, 300}, {400, 500}}));
}

TEST(IntervalListSort, EmptyAndSingleNodeListsAreUnchanged) {
  IntervalList empty(0);
  empty.sortByStart(SORT_ASCENDING);
  EXPECT_EQ(empty.count(), 0);
  IntervalList one(0);
  one.add(1, 2);
  one.sortByStart(SORT_ASCENDING);
  EXPECT_EQ(chainOf(one), (Chain{{1, 2}}));
}

TEST(IntervalListSort, RelinksNodesWithoutCopyingThem) {
  IntervalList list(0);
  addAll(list, {{30, 31}, {10, 11}, {20, 21}});
  std::vector<const IntervalNode*> before;
  for (const IntervalNode* n = list.first(); n != nullptr; n = n->next) before.push_back(n);
  list.sortByStart(SORT_ASCENDING);
  const IntervalNode* n = list.first();
  EXPECT_EQ(n, before[1]);
  EXPECT_EQ(n->next, before[2]);
  EXPECT_EQ(n->next->next, before[0]);
}

// Any chain sorted by the list equals a plain stable sort by start.
TEST(IntervalListSort, MatchesAStableSortOnRandomChains) {
  std::mt19937 random(1138788001);
  for (int round = 0; round < 300; ++round) {
    std::uniform_int_distribution<int32_t> length(0, 60);
    std::uniform_int_distribution<int32_t> value(-20, 20);
    IntervalList list(0);
    const int32_t n = length(random);
    for (int32_t i = 0; i < n; ++i) {
      // mergeInto of a node that can match nothing appends: inverted nodes with
      // distinct ends give a chain of arbitrary starts with many equal ones.
      list.mergeInto(value(random), -1000 - i);
    }
    for (const int32_t direction : {SORT_ASCENDING, 0, -1}) {
      Chain expected = chainOf(list);
      std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
        return direction == SORT_ASCENDING ? a.first < b.first : a.first > b.first;
      });
      list.sortByStart(direction);
      ASSERT_EQ(chainOf(list), expected) << "round " << round << " direction " << direction;
    }
  }
}

}  // namespace
