#pragma once

#include <cstdint>
#include <iterator>

namespace summary {

// Gaps are drawn in a colour by how long they are, in the timeline and the
// page alike.
struct GapClass {
  int64_t upToSeconds;
  const char* colour;
  const char* name;
};

inline constexpr GapClass kGapClasses[] = {{60, "#f2c12e", "gap up to 1 minute"},
                                           {3600, "#f28e2b", "gap up to 1 hour"},
                                           {86400, "#d62728", "gap up to 1 day"},
                                           {INT64_MAX, "#7b1113", "gap longer than 1 day"}};

// The class of a gap of that many seconds.
inline const GapClass& gapClassOf(int64_t seconds) {
  for (const GapClass& gapClass : kGapClasses) {
    if (seconds <= gapClass.upToSeconds) return gapClass;
  }
  return kGapClasses[std::size(kGapClasses) - 1];
}

}  // namespace summary
