#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "summary/summarize.h"

namespace summary {

inline constexpr int64_t kSecondsPerDay = 86400;

// One station's availability over one UTC day, as the field's daily metrics
// define it: covered time counts once however many files hold it; gaps (those
// past the summary's tolerance) and overlaps are counted by the part of them
// that falls on the day, so one across midnight counts on both days.
struct DayAvailability {
  std::string station;
  int64_t day = 0;             // the day's first second
  int64_t coveredSeconds = 0;  // within the station's window
  int gapCount = 0;
  int64_t longestGapSeconds = 0;
  int overlapCount = 0;
  int64_t longestOverlapSeconds = 0;
  // Of the whole day, not only of the part the window holds.
  double percent() const {
    return 100.0 * static_cast<double>(coveredSeconds) / static_cast<double>(kSecondsPerDay);
  }
  bool operator==(const DayAvailability& other) const = default;
};

// Every UTC day that the window of each station with data touches, by station
// then day.
std::vector<DayAvailability> dailyAvailability(const CoverageSummary& summary);

}  // namespace summary
