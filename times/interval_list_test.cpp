#include "times/interval_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "tests/support/failing_allocation.h"

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

// The list as its rules read, walked literally over a plain chain: what the
// list, which finds the node to fold into through its index, must equal.
class LiteralList {
 public:
  explicit LiteralList(int32_t mergeMode) : mergeMode_(mergeMode) {}
  void add(int32_t a, int32_t b) {
    if (chain.empty()) {
      chain.emplace_back(a, b);
      return;
    }
    mergeInto(a, b);
    if (mergeMode_ == MERGE_FULL) normalize();
  }
  void mergeInto(int32_t a, int32_t b) {
    for (auto& [x, y] : chain) {
      if (x <= a && a <= y && x <= b && b <= y) return;
      if (x <= a && a <= y && b > y) return void(y = b);
      if (a < x && x <= b && b <= y) return void(x = a);
    }
    chain.emplace_back(a, b);
  }
  void removeAt(int32_t index) {
    if (index >= 0 && index < static_cast<int32_t>(chain.size()))
      chain.erase(chain.begin() + index);
  }
  void sortByStart(int32_t direction) {
    std::stable_sort(chain.begin(), chain.end(), [&](const auto& p, const auto& q) {
      return direction == SORT_ASCENDING ? p.first < q.first : p.first > q.first;
    });
  }
  void normalize() {
    const auto within = [](int32_t s1, int32_t e1, int32_t s2, int32_t e2) {
      return (s2 <= s1 && s1 <= e2) || (s2 <= e1 && e1 <= e2);
    };
    for (bool merged = true; merged;) {
      merged = false;
      for (std::size_t i = 0; i + 1 < chain.size() && !merged; ++i) {
        const auto [si, ei] = chain[i];
        if (ei < si) continue;
        for (std::size_t j = i + 1; j < chain.size(); ++j) {
          const auto [sj, ej] = chain[j];
          if (ej < sj) continue;
          if (within(si, ei, sj, ej)) {
            removeAt(static_cast<int32_t>(i));
            add(si, ei);
          } else if (within(sj, ej, si, ei)) {
            removeAt(static_cast<int32_t>(j));
            add(sj, ej);
          } else {
            continue;
          }
          merged = true;
          break;
        }
      }
    }
  }
  Chain chain;

 private:
  int32_t mergeMode_;
};

// Differential: random sequences that mix touching, overlapping, contained,
// duplicated and inverted intervals, arriving ascending, descending or in any
// order, with removals and sorts between them, in both merge modes. After
// every step the chain equals the literal walk's.
TEST(IntervalListAdd, FoldsAsALiteralWalkOfTheChainWouldWhateverTheOrder) {
  std::mt19937 random(1150374896);
  for (int round = 0; round < 600; ++round) {
    const int32_t mergeMode = round % 3 == 0 ? MERGE_FULL : 0;
    const int pattern = round % 4;  // ascending, descending, random, random and wide
    const int32_t spread = pattern == 3 ? 100000 : 400;
    std::uniform_int_distribution<int32_t> value(-spread / 4, spread), length(-20, 60), step(0, 30),
        action(0, 99);
    IntervalList list(mergeMode);
    LiteralList literal(mergeMode);
    int32_t at = pattern == 1 ? spread : 0;
    const int steps = mergeMode == MERGE_FULL ? 30 : 120;
    for (int i = 0; i < steps; ++i) {
      const int roll = action(random);
      if (roll < 4) {
        const int32_t index = value(random) % (static_cast<int32_t>(literal.chain.size()) + 2);
        list.removeAt(index);
        literal.removeAt(index);
      } else if (roll < 7) {
        const int32_t direction = roll == 4 ? SORT_ASCENDING : -1;
        list.sortByStart(direction);
        literal.sortByStart(direction);
      } else {
        at = pattern == 0 ? at + step(random) : pattern == 1 ? at - step(random) : value(random);
        int32_t a = at, b = at + length(random);
        if (roll < 17 && !literal.chain.empty()) {  // one stored already, or touching one
          const auto& [x, y] = literal.chain[static_cast<std::size_t>(i) % literal.chain.size()];
          a = roll < 12 ? x : y;
          b = roll < 12 ? y : y + step(random);
        }
        if (roll < 20 || roll >= 90) {
          list.add(a, b);
          literal.add(a, b);
        } else {
          list.mergeInto(a, b);
          literal.mergeInto(a, b);
        }
      }
      ASSERT_EQ(chainOf(list), literal.chain) << "round " << round << " step " << i;
    }
  }
}

// Without memory for its index (a large disk on a 32-bit host) the list walks
// its chain, and folds as the literal walk does; with memory again it indexes
// the chain anew. Stretches of adds starved and fed take turns.
TEST(IntervalListAdd, WithoutMemoryForItsIndexFoldsAsTheLiteralWalk) {
  std::mt19937 random(3405691582);
  std::uniform_int_distribution<int32_t> value(0, 600), length(-10, 40);
  for (int round = 0; round < 40; ++round) {
    IntervalList list(0);
    LiteralList literal(0);
    for (int i = 0; i < 200; ++i) {
      const int32_t a = value(random), b = a + length(random);
      {
        // The index's first room is 16 leaves, some 12 KiB; a node is 16 bytes.
        std::optional<testsupport::FailingAllocation> starved;
        if (i / 50 % 2 == round % 2) starved.emplace(4096);
        list.add(a, b);
      }
      literal.add(a, b);
      ASSERT_EQ(chainOf(list), literal.chain) << "round " << round << " step " << i;
    }
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
