#include "times/interval_index.h"

#include <functional>
#include <new>

namespace times {

bool IntervalIndex::before(const Entry& e, int32_t start, const IntervalNode* node) const {
  return e.start < start || (e.start == start && std::less<const IntervalNode*>()(e.node, node));
}

void IntervalIndex::update(int32_t t) {
  Entry& e = entries_[static_cast<std::size_t>(t)];
  e.maxEnd = e.end;
  e.minOrder = e.order;
  for (const int32_t child : {e.left, e.right}) {
    if (child < 0) continue;
    const Entry& c = entries_[static_cast<std::size_t>(child)];
    if (c.maxEnd > e.maxEnd) e.maxEnd = c.maxEnd;
    if (c.minOrder < e.minOrder) e.minOrder = c.minOrder;
  }
}

void IntervalIndex::split(int32_t t, int32_t start, const IntervalNode* node, int32_t& low,
                          int32_t& high) {
  if (t < 0) {
    low = high = -1;
    return;
  }
  Entry& e = entries_[static_cast<std::size_t>(t)];
  if (before(e, start, node)) {
    split(e.right, start, node, entries_[static_cast<std::size_t>(t)].right, high);
    low = t;
  } else {
    split(e.left, start, node, low, entries_[static_cast<std::size_t>(t)].left);
    high = t;
  }
  update(t);
}

int32_t IntervalIndex::join(int32_t low, int32_t high) {
  if (low < 0) return high;
  if (high < 0) return low;
  if (entries_[static_cast<std::size_t>(low)].priority >
      entries_[static_cast<std::size_t>(high)].priority) {
    const int32_t right = join(entries_[static_cast<std::size_t>(low)].right, high);
    entries_[static_cast<std::size_t>(low)].right = right;
    update(low);
    return low;
  }
  const int32_t left = join(low, entries_[static_cast<std::size_t>(high)].left);
  entries_[static_cast<std::size_t>(high)].left = left;
  update(high);
  return high;
}

bool IntervalIndex::insert(int32_t start, int32_t end, uint64_t order, IntervalNode* node) {
  seed_ ^= seed_ << 13;  // xorshift32: the treap's priorities
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  const Entry entry{start, end, order, node, seed_, -1, -1, end, order};
  int32_t t;
  if (free_.empty()) {
    t = static_cast<int32_t>(entries_.size());
    try {
      entries_.push_back(entry);
    } catch (const std::bad_alloc&) {
      return false;
    }
  } else {
    t = free_.back();
    free_.pop_back();
    entries_[static_cast<std::size_t>(t)] = entry;
  }
  // Down from the root while the entries there come first by priority, each
  // now holding the new one in its subtree; then the rest is split around it.
  int32_t* link = &root_;
  while (*link >= 0 && entries_[static_cast<std::size_t>(*link)].priority > entry.priority) {
    Entry& e = entries_[static_cast<std::size_t>(*link)];
    if (end > e.maxEnd) e.maxEnd = end;
    if (order < e.minOrder) e.minOrder = order;
    link = before(e, start, node) ? &e.right : &e.left;
  }
  int32_t low = -1, high = -1;
  split(*link, start, node, low, high);
  Entry& added = entries_[static_cast<std::size_t>(t)];
  added.left = low;
  added.right = high;
  update(t);
  *link = t;
  return true;
}

bool IntervalIndex::widen(int32_t start, const IntervalNode* node, int32_t newStart,
                          int32_t newEnd) {
  // Down to the entry, keeping the greatest entry passed on the left: the
  // entry's predecessor unless it has a left subtree.
  int32_t t = root_, predecessor = -1;
  while (t >= 0) {
    Entry& e = entries_[static_cast<std::size_t>(t)];
    if (e.start == start && e.node == node) break;
    if (before(e, start, node)) {
      predecessor = t;
      t = e.right;
    } else {
      t = e.left;
    }
  }
  if (t < 0) return false;
  Entry& found = entries_[static_cast<std::size_t>(t)];
  for (int32_t c = found.left; c >= 0; c = entries_[static_cast<std::size_t>(c)].right)
    predecessor = c;
  if (newStart != start && predecessor >= 0 &&
      !before(entries_[static_cast<std::size_t>(predecessor)], newStart, node)) {
    return false;  // the new start would move it past another entry
  }
  // Its place holds: the new start in place, the new end raised into every
  // subtree above it.
  found.start = newStart;
  found.end = newEnd;
  for (int32_t a = root_; a >= 0;) {
    Entry& e = entries_[static_cast<std::size_t>(a)];
    if (newEnd > e.maxEnd) e.maxEnd = newEnd;
    if (a == t) break;
    a = before(e, newStart, node) ? e.right : e.left;
  }
  return true;
}

void IntervalIndex::erase(int32_t start, const IntervalNode* node) {
  root_ = eraseFrom(root_, start, node);
}

int32_t IntervalIndex::eraseFrom(int32_t t, int32_t start, const IntervalNode* node) {
  if (t < 0) return t;
  Entry& e = entries_[static_cast<std::size_t>(t)];
  if (e.start == start && e.node == node) {
    try {
      free_.push_back(t);
    } catch (const std::bad_alloc&) {
      // not reused, then
    }
    return join(e.left, e.right);
  }
  if (before(e, start, node)) {
    const int32_t right = eraseFrom(e.right, start, node);
    entries_[static_cast<std::size_t>(t)].right = right;
  } else {
    const int32_t left = eraseFrom(e.left, start, node);
    entries_[static_cast<std::size_t>(t)].left = left;
  }
  update(t);
  return t;
}

void IntervalIndex::clear() {
  entries_.clear();
  free_.clear();
  root_ = -1;
}

template <typename Accept>
void IntervalIndex::search(int32_t t, int32_t startAtMost, int32_t endAtLeast, const Accept& accept,
                           Found& best) const {
  while (t >= 0) {
    const Entry& e = entries_[static_cast<std::size_t>(t)];
    if (e.maxEnd < endAtLeast || e.minOrder >= best.order) return;
    if (e.start > startAtMost) {  // only the left subtree starts early enough
      t = e.left;
      continue;
    }
    if (e.end >= endAtLeast && e.order < best.order && accept(e)) best = Found{e.node, e.order};
    // The subtree that holds the lesser order first: its answer prunes the other.
    const auto orderOf = [&](int32_t c) {
      return c < 0 ? UINT64_MAX : entries_[static_cast<std::size_t>(c)].minOrder;
    };
    const bool leftFirst = orderOf(e.left) <= orderOf(e.right);
    search(leftFirst ? e.left : e.right, startAtMost, endAtLeast, accept, best);
    t = leftFirst ? e.right : e.left;
  }
}

IntervalIndex::Found IntervalIndex::firstCovering(int32_t low, int32_t high) const {
  Found best;
  search(
      root_, low, high, [](const Entry&) { return true; }, best);
  return best;
}

IntervalIndex::Found IntervalIndex::firstHoldingEither(int32_t a, int32_t b) const {
  // Met by [a, b] (start <= b, end >= a) and not strictly inside it.
  Found best;
  search(
      root_, b, a, [a, b](const Entry& e) { return e.start <= a || e.end >= b; }, best);
  return best;
}

}  // namespace times
