#include "times/span_union.h"

#include <algorithm>

namespace times {

std::vector<TimeSpan> unionOf(std::vector<TimeSpan> spans) {
  std::erase_if(spans, [](const TimeSpan& span) { return span.end <= span.start; });
  std::sort(spans.begin(), spans.end(),
            [](const TimeSpan& a, const TimeSpan& b) { return a.start < b.start; });
  std::vector<TimeSpan> merged;
  for (const TimeSpan& span : spans) {
    if (!merged.empty() && span.start <= merged.back().end) {
      merged.back().end = std::max(merged.back().end, span.end);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

std::vector<TimeSpan> gapsIn(const std::vector<TimeSpan>& covered, TimeSpan window,
                             int64_t tolerance) {
  std::vector<TimeSpan> gaps;
  int64_t reached = window.start;
  auto uncoveredUntil = [&](int64_t until) {
    const TimeSpan gap{reached, std::min(until, window.end)};
    if (gap.seconds() > tolerance && gap.seconds() > 0) gaps.push_back(gap);
  };
  for (const TimeSpan& span : covered) {
    if (span.end <= reached) continue;
    if (span.start >= window.end) break;
    uncoveredUntil(span.start);
    reached = span.end;
  }
  uncoveredUntil(window.end);
  return gaps;
}

std::vector<TimeSpan> clippedTo(const std::vector<TimeSpan>& covered, TimeSpan window) {
  std::vector<TimeSpan> clipped;
  for (const TimeSpan& span : covered) {
    const TimeSpan part{std::max(span.start, window.start), std::min(span.end, window.end)};
    if (part.seconds() > 0) clipped.push_back(part);
  }
  return clipped;
}

std::vector<TimeSpan> joinedAcross(const std::vector<TimeSpan>& covered, int64_t gap) {
  std::vector<TimeSpan> joined;
  for (const TimeSpan& span : covered) {
    if (!joined.empty() && span.start - joined.back().end <= gap) {
      joined.back().end = std::max(joined.back().end, span.end);
    } else {
      joined.push_back(span);
    }
  }
  return joined;
}

int64_t totalSeconds(const std::vector<TimeSpan>& covered) {
  int64_t total = 0;
  for (const TimeSpan& span : covered) total += span.seconds();
  return total;
}

}  // namespace times
