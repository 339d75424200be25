#pragma once

#include <cstdint>
#include <vector>

namespace times {

struct IntervalNode;

// The intervals of an IntervalList's chain beside it, by start, so that the
// first one in chain order that covers a stretch is found without walking the
// chain: a treap keyed by (start, node), each subtree knowing its greatest
// end and its least chain order. Only intervals whose end is not before their
// start belong in it: no other can cover anything.
class IntervalIndex {
 public:
  // False, and nothing changed, when there is no memory for it.
  bool insert(int32_t start, int32_t end, uint64_t order, IntervalNode* node);
  // Widens the entry of node, stored with start, to [newStart, newEnd], where
  // newStart <= start and newEnd >= its end, in place: one pass down the tree.
  // False, and nothing changed, when there is no such entry or the new start
  // would order it before another entry (then erase and insert it again).
  bool widen(int32_t start, const IntervalNode* node, int32_t newStart, int32_t newEnd);
  // Removes the entry of node, stored with start; nothing when there is none.
  void erase(int32_t start, const IntervalNode* node);
  void clear();
  // An entry's node and its order in the chain.
  struct Found {
    IntervalNode* node = nullptr;  // null: none
    uint64_t order = UINT64_MAX;
  };

  // The node of least order among those with start <= low and end >= high. O(log n) where few
  // stored intervals cover the stretch, or those that do are nested (as a recording's files are);
  // at worst O(log n + k) for k covering intervals.
  Found firstCovering(int32_t low, int32_t high) const;
  // The node of least order among those that hold a or b (a <= b).
  Found firstHoldingEither(int32_t a, int32_t b) const;

 private:
  struct Entry {
    int32_t start;
    int32_t end;
    uint64_t order;
    IntervalNode* node;
    uint32_t priority;
    int32_t left = -1;
    int32_t right = -1;
    int32_t maxEnd;     // over its subtree
    uint64_t minOrder;  // over its subtree
  };

  bool before(const Entry& e, int32_t start, const IntervalNode* node) const;
  void update(int32_t t);
  // Splits t into the entries before (start, node) and the rest.
  void split(int32_t t, int32_t start, const IntervalNode* node, int32_t& low, int32_t& high);
  int32_t join(int32_t low, int32_t high);
  // t's subtree without the entry of node; its new root.
  int32_t eraseFrom(int32_t t, int32_t start, const IntervalNode* node);
  // Finds in t's subtree the entry of least order below best.order with
  // start <= startAtMost, end >= endAtLeast and accepted by accept.
  template <typename Accept>
  void search(int32_t t, int32_t startAtMost, int32_t endAtLeast, const Accept& accept,
              Found& best) const;

  std::vector<Entry> entries_;
  std::vector<int32_t> free_;  // entries erased, for reuse
  int32_t root_ = -1;
  uint32_t seed_ = 2463534242u;
};

}  // namespace times
