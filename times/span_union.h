#pragma once

#include <cstdint>
#include <vector>

namespace times {

// A stretch of time in seconds since 1970: from start up to end, end - start
// seconds long. 64-bit, so no length or sum of lengths can overflow.
struct TimeSpan {
  int64_t start = 0;
  int64_t end = 0;
  int64_t seconds() const { return end - start; }
  bool operator==(const TimeSpan& other) const = default;
};

// The union of spans as disjoint spans in time order. Spans that overlap or
// touch (one ending on the second the next begins) become one; spans of zero
// or negative length add nothing.
std::vector<TimeSpan> unionOf(std::vector<TimeSpan> spans);

// The parts of window that the disjoint, ordered spans leave uncovered and that
// are longer than tolerance seconds, in time order. Missing time at the
// window's edges counts as well.
std::vector<TimeSpan> gapsIn(const std::vector<TimeSpan>& covered, TimeSpan window,
                             int64_t tolerance);

// The disjoint, ordered spans cut to window; those outside it are dropped.
std::vector<TimeSpan> clippedTo(const std::vector<TimeSpan>& covered, TimeSpan window);

// The disjoint, ordered spans, those apart by at most gap seconds joined into
// one (FDSN availability's mergegaps).
std::vector<TimeSpan> joinedAcross(const std::vector<TimeSpan>& covered, int64_t gap);

// Total length of disjoint spans.
int64_t totalSeconds(const std::vector<TimeSpan>& covered);

}  // namespace times
