#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace times {

// A length of time in days, hours, minutes and seconds. The divisions truncate
// toward zero, so a negative length gives pieces that are negative or zero.
struct DurationParts {
  int64_t days;
  int64_t hours;
  int64_t minutes;
  int64_t seconds;
};

DurationParts splitDuration(int64_t seconds);

// "1d 2h 3m 4s"; a negative length is "-" and the pieces of its magnitude.
std::string durationText(int64_t seconds);

// An age as people type one: decimal digits and a unit, s, m (minutes), h, d,
// w or y (365 days), as "5y" or "90d"; nothing for any other text or an age
// beyond 64 bits of seconds.
std::optional<int64_t> parseAge(std::string_view text);

}  // namespace times
