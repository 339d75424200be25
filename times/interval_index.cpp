#include "times/interval_index.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <new>

namespace times {

namespace {

template <typename Array>
void insertAt(Array& array, int count, int position, const auto& value) {
  std::copy_backward(array + position, array + count, array + count + 1);
  array[position] = value;
}

}  // namespace

bool IntervalIndex::less(const Key& a, const Key& b) {
  return a.start < b.start ||
         (a.start == b.start && std::less<const IntervalNode*>()(a.node, b.node));
}

int IntervalIndex::slotFor(const Inner& inner, const Key& key) const {
  int slot = 0;
  while (slot + 1 < inner.count && !less(key, inner.low[slot + 1])) ++slot;
  return slot;
}

int32_t IntervalIndex::descend(const Key& key, Step* path) const {
  int32_t node = root_;
  for (int level = height_; level > 0; --level) {
    const Inner& inner = inners_[static_cast<std::size_t>(node)];
    const int slot = slotFor(inner, key);
    path[level] = {node, slot};
    node = inner.child[slot];
  }
  return node;
}

void IntervalIndex::summarize(int level, int32_t node, int32_t& maxEnd, uint64_t& minOrder) const {
  maxEnd = INT32_MIN;
  minOrder = UINT64_MAX;
  if (level == 0) {
    const Leaf& leaf = leaves_[static_cast<std::size_t>(node)];
    for (int i = 0; i < leaf.count; ++i) {
      maxEnd = std::max(maxEnd, leaf.entries[i].end);
      minOrder = std::min(minOrder, leaf.entries[i].order);
    }
    return;
  }
  const Inner& inner = inners_[static_cast<std::size_t>(node)];
  for (int i = 0; i < inner.count; ++i) {
    maxEnd = std::max(maxEnd, inner.maxEnd[i]);
    minOrder = std::min(minOrder, inner.minOrder[i]);
  }
}

void IntervalIndex::resummarize(const Step* path, int fromLevel) {
  for (int level = fromLevel; level <= height_; ++level) {
    Inner& inner = inners_[static_cast<std::size_t>(path[level].inner)];
    const int slot = path[level].slot;
    summarize(level - 1, inner.child[slot], inner.maxEnd[slot], inner.minOrder[slot]);
  }
}

bool IntervalIndex::reserveForInsert() {
  // At most one new leaf and one new inner node a level, a new root among them.
  try {
    if (leaves_.size() == leaves_.capacity())
      leaves_.reserve(std::max<std::size_t>(16, leaves_.capacity() * 2));
    const std::size_t inners = inners_.size() + static_cast<std::size_t>(height_) + 1;
    if (inners > inners_.capacity()) inners_.reserve(std::max(inners, inners_.capacity() * 2));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool IntervalIndex::insert(int32_t start, int32_t end, uint64_t order, IntervalNode* node) {
  if (height_ == kMaxHeight || !reserveForInsert()) return false;
  // From here on nothing allocates: the vectors have room for every split.
  if (root_ < 0) {
    root_ = static_cast<int32_t>(leaves_.size());
    leaves_.emplace_back();
    height_ = 0;
  }
  const Entry entry{start, end, order, node};
  const Key key = keyOf(entry);
  Step path[kMaxHeight + 1];
  const int32_t leafIndex = descend(key, path);
  for (int level = 1; level <= height_; ++level) {  // the entry joins each subtree passed
    Inner& inner = inners_[static_cast<std::size_t>(path[level].inner)];
    const int slot = path[level].slot;
    inner.maxEnd[slot] = std::max(inner.maxEnd[slot], end);
    inner.minOrder[slot] = std::min(inner.minOrder[slot], order);
  }

  // A full leaf gives its upper half to a new one first.
  int32_t added = -1;  // the new node of the level below, to be placed after split
  int32_t split = leafIndex;
  Key addedLow{};
  int32_t target = leafIndex;
  if (leaves_[static_cast<std::size_t>(leafIndex)].count == kLeafCapacity) {
    added = splitLeaf(leafIndex, addedLow);
    if (!less(key, addedLow)) target = added;
  }
  Leaf& leaf = leaves_[static_cast<std::size_t>(target)];
  const int position = static_cast<int>(
      std::lower_bound(leaf.entries, leaf.entries + leaf.count, key,
                       [](const Entry& e, const Key& k) { return less(keyOf(e), k); }) -
      leaf.entries);
  insertAt(leaf.entries, leaf.count, position, entry);
  ++leaf.count;

  if (added >= 0) carrySplit(path, split, added, addedLow);
  return true;
}

void IntervalIndex::carrySplit(const Step* path, int32_t split, int32_t added, Key addedLow) {
  // Each parent takes the new node after the one split, and splits in turn
  // when full; both are summed up anew, the levels above already hold all.
  for (int level = 1; level <= height_ && added >= 0; ++level) {
    const int32_t parentIndex = path[level].inner;
    int slot = path[level].slot;
    int32_t holder = parentIndex;  // the inner node that ends up holding both
    int32_t newInner = -1;
    Key newInnerLow{};
    if (inners_[static_cast<std::size_t>(parentIndex)].count == kInnerCapacity) {
      newInner = splitInner(parentIndex, newInnerLow);
      constexpr int kHalf = kInnerCapacity / 2;
      if (slot >= kHalf) {  // the node split, and so the new one, went right
        holder = newInner;
        slot -= kHalf;
      }
    }
    Inner& inner = inners_[static_cast<std::size_t>(holder)];
    const int lowerLevel = level - 1;
    insertAt(inner.child, inner.count, slot + 1, added);
    insertAt(inner.low, inner.count, slot + 1, addedLow);
    insertAt(inner.maxEnd, inner.count, slot + 1, INT32_MIN);
    insertAt(inner.minOrder, inner.count, slot + 1, UINT64_MAX);
    ++inner.count;
    summarize(lowerLevel, split, inner.maxEnd[slot], inner.minOrder[slot]);
    summarize(lowerLevel, added, inner.maxEnd[slot + 1], inner.minOrder[slot + 1]);
    split = parentIndex;
    added = newInner;
    addedLow = newInnerLow;
  }
  if (added >= 0) growRoot(split, added, addedLow);  // the root split
}

int32_t IntervalIndex::splitLeaf(int32_t leaf, Key& low) {
  const auto added = static_cast<int32_t>(leaves_.size());
  leaves_.emplace_back();
  Leaf& left = leaves_[static_cast<std::size_t>(leaf)];
  Leaf& right = leaves_.back();
  constexpr int kHalf = kLeafCapacity / 2;
  std::copy(left.entries + kHalf, left.entries + kLeafCapacity, right.entries);
  right.count = kLeafCapacity - kHalf;
  left.count = kHalf;
  low = keyOf(right.entries[0]);
  return added;
}

int32_t IntervalIndex::splitInner(int32_t inner, Key& low) {
  const auto added = static_cast<int32_t>(inners_.size());
  inners_.emplace_back();
  Inner& left = inners_[static_cast<std::size_t>(inner)];
  Inner& right = inners_.back();
  constexpr int kHalf = kInnerCapacity / 2;
  right.count = kInnerCapacity - kHalf;
  std::copy(left.child + kHalf, left.child + kInnerCapacity, right.child);
  std::copy(left.low + kHalf, left.low + kInnerCapacity, right.low);
  std::copy(left.maxEnd + kHalf, left.maxEnd + kInnerCapacity, right.maxEnd);
  std::copy(left.minOrder + kHalf, left.minOrder + kInnerCapacity, right.minOrder);
  left.count = kHalf;
  low = right.low[0];
  return added;
}

void IntervalIndex::growRoot(int32_t left, int32_t right, const Key& low) {
  const auto newRoot = static_cast<int32_t>(inners_.size());
  inners_.emplace_back();
  Inner& top = inners_.back();
  top.count = 2;
  top.child[0] = left;
  top.child[1] = right;
  top.low[0] = Key{INT32_MIN, nullptr};
  top.low[1] = low;
  summarize(height_, left, top.maxEnd[0], top.minOrder[0]);
  summarize(height_, right, top.maxEnd[1], top.minOrder[1]);
  root_ = newRoot;
  ++height_;
}

bool IntervalIndex::widen(int32_t start, const IntervalNode* node, int32_t newStart,
                          int32_t newEnd) {
  if (root_ < 0) return false;
  const Key key{start, node};
  Step path[kMaxHeight + 1];
  Leaf& leaf = leaves_[static_cast<std::size_t>(descend(key, path))];
  int position = 0;
  while (position < leaf.count &&
         !(leaf.entries[position].start == start && leaf.entries[position].node == node)) {
    ++position;
  }
  if (position == leaf.count) return false;
  const Key newKey{newStart, node};
  // It must stay after the entry before it, and within its leaf's range, which
  // begins at the leaf's low key in its parent.
  if (newStart != start &&
      (position > 0
           ? !less(keyOf(leaf.entries[position - 1]), newKey)
           : height_ > 0 &&
                 less(newKey,
                      inners_[static_cast<std::size_t>(path[1].inner)].low[path[1].slot]))) {
    return false;
  }
  leaf.entries[position].start = newStart;
  leaf.entries[position].end = newEnd;
  for (int level = 1; level <= height_; ++level) {
    Inner& inner = inners_[static_cast<std::size_t>(path[level].inner)];
    inner.maxEnd[path[level].slot] = std::max(inner.maxEnd[path[level].slot], newEnd);
  }
  return true;
}

void IntervalIndex::erase(int32_t start, const IntervalNode* node) {
  if (root_ < 0) return;
  Step path[kMaxHeight + 1];
  Leaf& leaf = leaves_[static_cast<std::size_t>(descend(Key{start, node}, path))];
  for (int i = 0; i < leaf.count; ++i) {
    if (leaf.entries[i].start != start || leaf.entries[i].node != node) continue;
    std::copy(leaf.entries + i + 1, leaf.entries + leaf.count, leaf.entries + i);
    --leaf.count;  // a leaf left empty stays, its range kept for later inserts
    resummarize(path, 1);
    return;
  }
}

void IntervalIndex::clear() {
  leaves_.clear();
  inners_.clear();
  root_ = -1;
  height_ = 0;
}

template <typename Accept>
void IntervalIndex::search(int level, int32_t node, int32_t startAtMost, int32_t endAtLeast,
                           const Accept& accept, Found& best) const {
  if (level == 0) {
    const Leaf& leaf = leaves_[static_cast<std::size_t>(node)];
    for (int i = 0; i < leaf.count && leaf.entries[i].start <= startAtMost; ++i) {
      const Entry& e = leaf.entries[i];
      if (e.end >= endAtLeast && e.order < best.order && accept(e)) best = Found{e.node, e.order};
    }
    return;
  }
  const Inner& inner = inners_[static_cast<std::size_t>(node)];
  uint32_t candidates = 0;  // children that start early enough and end late enough
  for (int i = 0; i < inner.count && (i == 0 || inner.low[i].start <= startAtMost); ++i) {
    if (inner.maxEnd[i] >= endAtLeast) candidates |= 1u << i;
  }
  // The child of least order first: its answer prunes the rest.
  while (candidates != 0) {
    int next = std::countr_zero(candidates);
    for (uint32_t rest = candidates & (candidates - 1); rest != 0; rest &= rest - 1) {
      const int i = std::countr_zero(rest);
      if (inner.minOrder[i] < inner.minOrder[next]) next = i;
    }
    if (inner.minOrder[next] >= best.order) return;
    candidates &= ~(1u << next);
    search(level - 1, inner.child[next], startAtMost, endAtLeast, accept, best);
  }
}

IntervalIndex::Found IntervalIndex::firstCovering(int32_t low, int32_t high) const {
  Found best;
  if (root_ >= 0) {
    search(
        height_, root_, low, high, [](const Entry&) { return true; }, best);
  }
  return best;
}

IntervalIndex::Found IntervalIndex::firstHoldingEither(int32_t a, int32_t b) const {
  // Met by [a, b] (start <= b, end >= a) and not strictly inside it.
  Found best;
  if (root_ >= 0) {
    search(
        height_, root_, b, a, [a, b](const Entry& e) { return e.start <= a || e.end >= b; }, best);
  }
  return best;
}

}  // namespace times
