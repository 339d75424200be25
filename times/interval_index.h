#pragma once

#include <cstdint>
#include <vector>

namespace times {

struct IntervalNode;

// The intervals of an IntervalList's chain beside it, by start, so that the
// first one in chain order that covers a stretch is found without walking the
// chain: a B+ tree keyed by (start, node), each child known to its parent by
// its greatest end and least chain order. Wide nodes keep the tree a few
// levels deep, so an archive's million intervals cost a few cache-friendly
// node reads per search, not fifty scattered ones. Only intervals whose end is
// not before their start belong in it: no other can cover anything.
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
  struct Key {
    int32_t start;
    const IntervalNode* node;
  };
  struct Entry {
    int32_t start;
    int32_t end;
    uint64_t order;
    IntervalNode* node;
  };
  static constexpr int kLeafCapacity = 32;
  static constexpr int kInnerCapacity = 16;
  // Entries in key order.
  struct Leaf {
    int count = 0;
    Entry entries[kLeafCapacity];
  };
  // Children in key order: child i holds the keys from low[i] up to low[i + 1]
  // (low[0] is the node's own lower bound; the root's is below every key);
  // maxEnd and minOrder sum up each child's subtree.
  struct Inner {
    int count = 0;
    int32_t child[kInnerCapacity];
    Key low[kInnerCapacity];
    int32_t maxEnd[kInnerCapacity];
    uint64_t minOrder[kInnerCapacity];
  };
  // A step down from an inner node: the node and the child taken.
  struct Step {
    int32_t inner;
    int slot;
  };

  static bool less(const Key& a, const Key& b);
  static Key keyOf(const Entry& e) { return {e.start, e.node}; }
  // The child of inner to take for key.
  int slotFor(const Inner& inner, const Key& key) const;
  // Fills path from the root down to the leaf that holds key (or would hold it);
  // returns that leaf.
  int32_t descend(const Key& key, Step* path) const;
  // The greatest end and least order over a subtree at height level.
  void summarize(int level, int32_t node, int32_t& maxEnd, uint64_t& minOrder) const;
  // Takes the summaries of the children on path, from level up, anew.
  void resummarize(const Step* path, int fromLevel);
  // Makes room for an insert's splits; false when there is no memory.
  bool reserveForInsert();
  // Splits a full node in two halves, the upper half into a new node placed
  // last, whose least key is given in low; returns the new node.
  int32_t splitLeaf(int32_t leaf, Key& low);
  int32_t splitInner(int32_t inner, Key& low);
  // Places added (a node of the level below path's inner nodes, split from
  // split, its least key addedLow) in the parent after split; each parent
  // that is full splits in turn, up to a new root.
  void carrySplit(const Step* path, int32_t split, int32_t added, Key addedLow);
  // A new root above the two halves of the old one, right's least key low.
  void growRoot(int32_t left, int32_t right, const Key& low);
  // Finds in a subtree the entry of least order below best.order with start <=
  // startAtMost, end >= endAtLeast and accepted by accept.
  template <typename Accept>
  void search(int level, int32_t node, int32_t startAtMost, int32_t endAtLeast,
              const Accept& accept, Found& best) const;

  static constexpr int kMaxHeight = 16;  // 16^16 leaves: more than memory holds
  std::vector<Leaf> leaves_;
  std::vector<Inner> inners_;
  int32_t root_ = -1;  // a leaf at height 0, else an inner node
  int height_ = 0;
};

}  // namespace times
