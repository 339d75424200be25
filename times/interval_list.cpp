#include "times/interval_list.h"

#include <new>

namespace times {

namespace {

IntervalNode* newNode(int32_t start, int32_t end) {
  return new (std::nothrow) IntervalNode{start, end, nullptr};
}

bool between(int32_t low, int32_t value, int32_t high) { return low <= value && value <= high; }

// Whether an end of [s1, e1] lies within [s2, e2].
bool endWithin(int32_t s1, int32_t e1, int32_t s2, int32_t e2) {
  return between(s2, s1, e2) || between(s2, e1, e2);
}

// Whether a must come after b in a chain sorted in the given direction.
bool outOfOrder(const IntervalNode* a, const IntervalNode* b, bool ascending) {
  return ascending ? a->start > b->start : a->start < b->start;
}

// Stable merge of two sorted chains.
IntervalNode* mergeChains(IntervalNode* left, IntervalNode* right, bool ascending) {
  IntervalNode head{0, 0, nullptr};
  IntervalNode* tail = &head;
  while (left != nullptr && right != nullptr) {
    if (outOfOrder(left, right, ascending)) {
      tail->next = right;
      right = right->next;
    } else {
      tail->next = left;
      left = left->next;
    }
    tail = tail->next;
  }
  tail->next = left != nullptr ? left : right;
  return head.next;
}

// Stable merge sort of a chain of length n: O(n log n), recursion depth log n.
IntervalNode* sortChain(IntervalNode* chain, int32_t n, bool ascending) {
  if (n < 2) return chain;
  const int32_t half = n / 2;
  IntervalNode* lastOfLeft = chain;
  for (int32_t i = 1; i < half; ++i) lastOfLeft = lastOfLeft->next;
  IntervalNode* right = lastOfLeft->next;
  lastOfLeft->next = nullptr;
  return mergeChains(sortChain(chain, half, ascending), sortChain(right, n - half, ascending),
                     ascending);
}

}  // namespace

IntervalList::IntervalList(int32_t mergeMode) : mergeMode_(mergeMode) {}

IntervalList::~IntervalList() {
  while (head_ != nullptr) {
    IntervalNode* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
}

void IntervalList::add(int32_t start, int32_t end) {
  if (head_ == nullptr) {
    append(start, end);
    return;
  }
  mergeInto(start, end);
  if (mergeMode_ == MERGE_FULL) normalize();
}

void IntervalList::mergeInto(int32_t a, int32_t b) {
  const IntervalIndex::Found found =
      outsideHull(a) && outsideHull(b) ? IntervalIndex::Found{} : firstFolding(a, b);
  IntervalNode* const node = found.node;
  if (node == nullptr) {
    append(a, b);
    return;
  }
  const int32_t x = node->start, y = node->end;
  if (between(x, a, y) && between(x, b, y)) return;
  if (between(x, a, y) && b > y) {
    node->end = b;
  } else {  // a < x, x <= b <= y
    node->start = a;
  }
  if (indexed_ && !index_.widen(x, node, node->start, node->end)) {
    index_.erase(x, node);
    index(node, found.order);
  }
  widenHull(node->start, node->end);
}

IntervalIndex::Found IntervalList::firstFolding(int32_t a, int32_t b) {
  if (!indexed_) {
    index_.clear();
    nextOrder_ = 0;
    indexed_ = true;
    unindexed_ = head_;
  }
  for (IntervalNode* node = unindexed_; node != nullptr && indexed_; node = node->next)
    index(node, nextOrder_++);
  unindexed_ = nullptr;
  if (!indexed_) {  // no memory for the index: the chain is walked
    uint64_t order = 0;
    for (IntervalNode* node = head_; node != nullptr; node = node->next, ++order) {
      const int32_t x = node->start, y = node->end;
      if ((between(x, a, y) && (between(x, b, y) || b > y)) || (a < x && between(x, b, y)))
        return IntervalIndex::Found{node, order};
    }
    return IntervalIndex::Found{};
  }
  // The three cases are: an end of [a, b] within [x, y], for a <= b; both
  // ends within it, for a > b (the only case an inverted interval can meet).
  if (a > b) return index_.firstCovering(b, a);
  return index_.firstHoldingEither(a, b);
}

void IntervalList::index(IntervalNode* node, uint64_t order) {
  if (node->start > node->end || index_.insert(node->start, node->end, order, node)) return;
  indexed_ = false;
  index_.clear();
}

void IntervalList::append(int32_t start, int32_t end) {
  IntervalNode* node = newNode(start, end);
  if (node == nullptr) return;
  if (tail_ == nullptr) {
    head_ = node;
  } else {
    tail_->next = node;
  }
  tail_ = node;
  widenHull(start, end);
  if (unindexed_ == nullptr) unindexed_ = node;
}

void IntervalList::widenHull(int32_t start, int32_t end) {
  if (start < hullLow_) hullLow_ = start;
  if (end > hullHigh_) hullHigh_ = end;
}

int32_t IntervalList::count() const {
  int32_t n = 0;
  for (const IntervalNode* node = head_; node != nullptr; node = node->next) ++n;
  return n;
}

IntervalNode* IntervalList::nodeAt(int32_t index) const {
  if (index < 0) return nullptr;
  IntervalNode* node = head_;
  for (int32_t i = 0; node != nullptr && i < index; ++i) node = node->next;
  return node;
}

int32_t IntervalList::at(int32_t index, int32_t* start, int32_t* end) const {
  const IntervalNode* node = nodeAt(index);
  if (node == nullptr) return -1;
  *start = node->start;
  *end = node->end;
  return 0;
}

void IntervalList::removeAt(int32_t index) {
  IntervalNode* node = nodeAt(index);
  if (node == nullptr) return;
  IntervalNode* previous = index == 0 ? nullptr : nodeAt(index - 1);
  if (previous == nullptr) {
    head_ = node->next;
  } else {
    previous->next = node->next;
  }
  if (node == tail_) tail_ = previous;
  if (node == unindexed_) unindexed_ = node->next;
  // A node not yet indexed has no entry: the erase then finds nothing.
  if (indexed_ && node->start <= node->end) index_.erase(node->start, node);
  delete node;
}

void IntervalList::normalize() {
  bool merged = true;
  while (merged) {
    merged = false;
    const int32_t n = count();
    for (int32_t i = 0; i + 1 < n && !merged; ++i) {
      int32_t si = 0, ei = 0;
      at(i, &si, &ei);
      if (ei < si) continue;
      for (int32_t j = i + 1; j < n; ++j) {
        int32_t sj = 0, ej = 0;
        at(j, &sj, &ej);
        if (ej < sj) continue;
        if (endWithin(si, ei, sj, ej)) {
          removeAt(i);
          add(si, ei);
        } else if (endWithin(sj, ej, si, ei)) {
          removeAt(j);
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

void IntervalList::sortByStart(int32_t direction) {
  head_ = sortChain(head_, count(), direction == SORT_ASCENDING);
  for (tail_ = head_; tail_ != nullptr && tail_->next != nullptr;) tail_ = tail_->next;
  indexed_ = false;
  unindexed_ = nullptr;
}

}  // namespace times
