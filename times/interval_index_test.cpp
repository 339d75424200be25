#include "times/interval_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "times/interval_list.h"

namespace times {

namespace {

// What the index must answer, by looking at every entry.
struct Stored {
  int32_t start;
  int32_t end;
  uint64_t order;
  IntervalNode* node;
};

IntervalIndex::Found firstOf(const std::vector<Stored>& stored, auto matches) {
  IntervalIndex::Found best;
  for (const Stored& s : stored) {
    if (s.order < best.order && matches(s)) best = {s.node, s.order};
  }
  return best;
}

// Differential, at sizes that make the tree several levels deep: inserts,
// erases and widenings in random order, with starts from a narrow range (many
// equal starts) or a wide one, every query checked against all entries.
TEST(IntervalIndex, AnswersAsALookAtEveryEntryWouldAtAnySize) {
  std::mt19937 random(20061215);
  for (const int32_t spread : {300, 1000000}) {
    std::vector<IntervalNode> nodes(12000);
    std::vector<Stored> stored;
    IntervalIndex index;
    std::uniform_int_distribution<int32_t> value(0, spread), length(0, 400), widen(0, 50),
        action(0, 99);
    uint64_t nextOrder = 0;
    std::size_t nextNode = 0;
    for (int step = 0; step < 12000; ++step) {
      const int roll = action(random);
      if (roll < 55 || stored.empty()) {
        const int32_t start = value(random);
        const Stored s{start, start + length(random), nextOrder++, &nodes[nextNode++]};
        ASSERT_TRUE(index.insert(s.start, s.end, s.order, s.node));
        stored.push_back(s);
      } else if (roll < 65) {
        const std::size_t k = random() % stored.size();
        index.erase(stored[k].start, stored[k].node);
        stored.erase(stored.begin() + static_cast<std::ptrdiff_t>(k));
      } else if (roll < 80) {
        Stored& s = stored[random() % stored.size()];
        const int32_t newStart = roll < 72 ? s.start - widen(random) : s.start;
        const int32_t newEnd = s.end + widen(random);
        if (!index.widen(s.start, s.node, newStart, newEnd)) {  // as the list does then
          index.erase(s.start, s.node);
          ASSERT_TRUE(index.insert(newStart, newEnd, s.order, s.node));
        }
        s.start = newStart;
        s.end = newEnd;
      } else {
        const int32_t a = value(random), b = roll < 90 ? a + length(random) : a;
        const IntervalIndex::Found covering = index.firstCovering(a, b);
        const IntervalIndex::Found expected =
            firstOf(stored, [&](const Stored& s) { return s.start <= a && s.end >= b; });
        ASSERT_EQ(covering.node, expected.node) << "step " << step;
        ASSERT_EQ(covering.order, expected.order);
        const IntervalIndex::Found either = index.firstHoldingEither(a, b);
        const IntervalIndex::Found expectedEither = firstOf(stored, [&](const Stored& s) {
          return s.start <= b && s.end >= a && (s.start <= a || s.end >= b);
        });
        ASSERT_EQ(either.node, expectedEither.node) << "step " << step;
      }
    }
  }
}

}  // namespace

}  // namespace times
