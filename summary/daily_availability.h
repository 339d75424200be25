#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "summary/summarize.h"

namespace summary {

inline constexpr int64_t kSecondsPerDay = 86400;

// One station's availability over one UTC day, as the field's daily metrics
// define it: covered time counts once however many files hold it, and the
// percent is of the whole day. A gap is uncovered time longer than the
// summary's tolerance, measured over the whole day too: on the first and last
// day of the station's window the hours outside it are uncovered, so they make
// (or lengthen) a gap, and a day below 100 % has a gap unless all its missing
// time lies in breaks within the tolerance. Gaps and overlaps count by the part
// of them that falls on the day, so one across midnight counts on both days.
struct DayAvailability {
  std::string station;
  int64_t day = 0;             // the day's first second
  int64_t coveredSeconds = 0;  // within the station's window
  int gapCount = 0;
  int64_t longestGapSeconds = 0;
  int overlapCount = 0;
  int64_t longestOverlapSeconds = 0;
  double percent() const {
    return 100.0 * static_cast<double>(coveredSeconds) / static_cast<double>(kSecondsPerDay);
  }
  bool operator==(const DayAvailability& other) const = default;
};

// Every UTC day that the window of each station with data touches, by station
// then day.
std::vector<DayAvailability> dailyAvailability(const CoverageSummary& summary);

}  // namespace summary
