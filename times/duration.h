#pragma once

#include <cstdint>
#include <string>

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

}  // namespace times
