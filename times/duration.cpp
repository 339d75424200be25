#include "times/duration.h"

#include <cinttypes>

#include "base/text_format.h"

namespace times {

DurationParts splitDuration(int64_t seconds) {
  return DurationParts{seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
}

std::string durationText(int64_t seconds) {
  const DurationParts parts = splitDuration(seconds);
  // Every piece is negated on its own: the magnitude of INT64_MIN has no int64_t.
  const int64_t sign = seconds < 0 ? -1 : 1;
  return base::formatText("%s%" PRId64 "d %" PRId64 "h %" PRId64 "m %" PRId64 "s",
                          seconds < 0 ? "-" : "", sign * parts.days, sign * parts.hours,
                          sign * parts.minutes, sign * parts.seconds);
}

}  // namespace times
