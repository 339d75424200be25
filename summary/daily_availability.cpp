#include "summary/daily_availability.h"

#include <algorithm>

namespace summary {

namespace {

int64_t dayOf(int64_t time) {
  return time - ((time % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
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
    while (next_ < items_.size() && items_[next_].span.end <= day) ++next_;
    for (std::size_t k = next_; k < items_.size() && items_[k].span.start < end; ++k) {
      const int64_t seconds =
          std::min(items_[k].span.end, end) - std::max(items_[k].span.start, day);
      if (seconds > 0) take(seconds);
    }
  }

 private:
  const std::vector<Item>& items_;
  std::size_t next_ = 0;
};

}  // namespace

std::vector<DayAvailability> dailyAvailability(const CoverageSummary& summary) {
  std::vector<DayAvailability> days;
  for (const StationSummary& station : summary.stations) {
    if (!station.firstStart || station.window.seconds() <= 0) continue;
    DayCursor timespans(station.timespans);
    DayCursor gaps(station.gaps);
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
