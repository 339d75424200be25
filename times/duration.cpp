#include "times/duration.h"

#include <cinttypes>
#include <cstdint>
#include <utility>

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

std::optional<int64_t> parseAge(std::string_view text) {
  constexpr std::pair<char, int64_t> kUnits[] = {{'s', 1},     {'m', 60},     {'h', 3600},
                                                 {'d', 86400}, {'w', 604800}, {'y', 31536000}};
  if (text.size() < 2) return std::nullopt;
  int64_t unit = 0;
  for (const auto& [letter, seconds] : kUnits) {
    if (text.back() == letter) unit = seconds;
  }
  if (unit == 0) return std::nullopt;
  int64_t count = 0;
  for (const char c : text.substr(0, text.size() - 1)) {
    if (c < '0' || c > '9' || count > (INT64_MAX / unit - (c - '0')) / 10) return std::nullopt;
    count = count * 10 + (c - '0');
  }
  return count * unit;
}

}  // namespace times
