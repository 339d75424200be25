#include "summary/daily_availability.h"

#include <algorithm>

#include "times/span_union.h"

namespace summary {

namespace {

int64_t dayOf(int64_t time) {
  return time - ((time % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
}

const times::TimeSpan& spanOf(const times::TimeSpan& span) { return span; }
template <typename Item>
const times::TimeSpan& spanOf(const Item& item) {
  return item.span;
}

// The ordered, disjoint spans of one list met day after day: each call gives
// the parts that fall on the next day asked for.
template <typename Item>
class DayCursor {
 public:
  explicit DayCursor(const std::vector<Item>& items) : items_(items) {}

  // Calls take(seconds) for each part of a span on [day, day + one day).
  template <typename Take>
  void partsOn(int64_t day, Take take) {
    const int64_t end = day + kSecondsPerDay;
    while (next_ < items_.size() && spanOf(items_[next_]).end <= day) ++next_;
    for (std::size_t k = next_; k < items_.size() && spanOf(items_[k]).start < end; ++k) {
      const times::TimeSpan& span = spanOf(items_[k]);
      const int64_t seconds = std::min(span.end, end) - std::max(span.start, day);
      if (seconds > 0) take(seconds);
    }
  }

 private:
  const std::vector<Item>& items_;
  std::size_t next_ = 0;
};

// The station's gaps over its window's whole days: their uncovered time past
// the tolerance, so that the hours outside the window count as gaps where the
// percent counts them as missing.
std::vector<times::TimeSpan> gapsOverWholeDays(const StationSummary& station, int64_t tolerance) {
  const times::TimeSpan days{dayOf(station.window.start),
                             dayOf(station.window.end - 1) + kSecondsPerDay};
  return times::gapsIn(spansOf(station.timespans), days, tolerance);
}

}  // namespace

std::vector<DayAvailability> dailyAvailability(const CoverageSummary& summary) {
  std::vector<DayAvailability> days;
  for (const StationSummary& station : summary.stations) {
    if (!station.firstStart || station.window.seconds() <= 0) continue;
    const std::vector<times::TimeSpan> wholeDayGaps =
        gapsOverWholeDays(station, summary.options.gapToleranceSeconds);
    DayCursor timespans(station.timespans);
    DayCursor gaps(wholeDayGaps);
    DayCursor overlaps(station.overlaps);
    for (int64_t day = dayOf(station.window.start); day < station.window.end;
         day += kSecondsPerDay) {
      DayAvailability& today = days.emplace_back();
      today.station = station.station;
      today.day = day;
      timespans.partsOn(day, [&](int64_t seconds) { today.coveredSeconds += seconds; });
      gaps.partsOn(day, [&](int64_t seconds) {
        ++today.gapCount;
        today.longestGapSeconds = std::max(today.longestGapSeconds, seconds);
      });
      overlaps.partsOn(day, [&](int64_t seconds) {
        ++today.overlapCount;
        today.longestOverlapSeconds = std::max(today.longestOverlapSeconds, seconds);
      });
    }
  }
  return days;
}

}  // namespace summary
