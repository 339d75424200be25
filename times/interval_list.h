#pragma once

#include <cstdint>
#include <limits>

#include "times/interval_index.h"

namespace times {

inline constexpr int32_t MERGE_FULL = 1;
inline constexpr int32_t SORT_ASCENDING = 1;

// One closed interval of covered seconds. end may be smaller than start: the
// list stores what it is given.
struct IntervalNode {
  int32_t start;
  int32_t end;
  IntervalNode* next;
};

// One covered interval as readers of the list see it.
struct Interval {
  int32_t start;
  int32_t end;
};

// The covered intervals of a run, as a chain in arrival order until sorted.
// An interval that lies within a stored one, or overlaps or touches one of its
// ends, is folded into it; any other becomes a new node at the tail.
class IntervalList {
 public:
  // An empty list. With mergeMode MERGE_FULL every add on a non-empty list is
  // followed by normalize(); with any other value the list is never normalized.
  explicit IntervalList(int32_t mergeMode);
  ~IntervalList();
  IntervalList(const IntervalList&) = delete;
  IntervalList& operator=(const IntervalList&) = delete;

  // Adds [start, end]: a first node when the list is empty, else mergeInto(),
  // then normalize() in full-merge mode. A node that cannot be allocated is lost
  // and the list stays valid.
  void add(int32_t start, int32_t end);

  // Folds [a, b] into the first node [x, y] in chain order for which, in this
  // order: x <= a <= y and x <= b <= y (nothing changes); x <= a <= y and b > y
  // (end becomes b); a < x and x <= b <= y (start becomes a). With no such node
  // [a, b] is appended at the tail. At most one node changes per call. That
  // node is found through an index beside the chain (IntervalIndex), not by
  // walking it.
  void mergeInto(int32_t a, int32_t b);

  int32_t count() const;

  // Sets start and end from the node at index and returns 0; returns -1 and
  // leaves them as they were when there is no such node.
  int32_t at(int32_t index, int32_t* start, int32_t* end) const;

  // Unlinks and releases the node at index; an index past the chain does nothing.
  void removeAt(int32_t index);

  // Merges nodes until no two of them meet or overlap, leaving the chain
  // unsorted. Nodes whose end precedes their start take no part: no fold can
  // absorb them.
  void normalize();

  // Reorders the chain by start, stably: ascending for SORT_ASCENDING, descending
  // for any other direction; nodes are relinked, never copied or changed.
  void sortByStart(int32_t direction);

  // The first node, for reading the chain in order; null when empty.
  const IntervalNode* first() const { return head_; }

  // Reads the intervals in chain order: for (const Interval interval : list).
  class Iterator {
   public:
    explicit Iterator(const IntervalNode* node) : node_(node) {}
    Interval operator*() const { return Interval{node_->start, node_->end}; }
    Iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return node_ != other.node_; }

   private:
    const IntervalNode* node_;
  };
  Iterator begin() const { return Iterator(head_); }
  Iterator end() const { return Iterator(nullptr); }

  int32_t mergeMode() const { return mergeMode_; }

 private:
  IntervalNode* nodeAt(int32_t index) const;
  void append(int32_t start, int32_t end);
  // The first node in chain order that [a, b] folds into; null when none.
  IntervalIndex::Found firstFolding(int32_t a, int32_t b);
  // Indexes node with its order in the chain; an inverted one never folds.
  // Without memory for it the index is dropped, to be made again when next
  // asked, the chain walked meanwhile.
  void index(IntervalNode* node, uint64_t order);
  void widenHull(int32_t start, int32_t end);
  bool outsideHull(int32_t value) const { return value < hullLow_ || value > hullHigh_; }

  IntervalNode* head_ = nullptr;
  IntervalNode* tail_ = nullptr;
  int32_t mergeMode_;
  // Every start ever stored is at least hullLow_ and every end at most
  // hullHigh_ (the bounds only widen). An interval with both ends outside them
  // can match no node, so it is appended without walking the chain: a stream
  // of separate files, arriving in time order, costs O(1) per add.
  int32_t hullLow_ = std::numeric_limits<int32_t>::max();
  int32_t hullHigh_ = std::numeric_limits<int32_t>::min();
  // The nodes that can take a fold, by start, with their place in the chain:
  // orders grow along the chain. Nodes appended join it when it is next asked
  // (from unindexed_ on), so that appends past the hull cost nothing more. A
  // sort reorders the chain; the index is then made again when next asked
  // (indexed_ false).
  IntervalIndex index_;
  uint64_t nextOrder_ = 0;
  bool indexed_ = true;
  IntervalNode* unindexed_ = nullptr;
};

}  // namespace times
