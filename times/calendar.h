#pragma once

#include <cstdint>

namespace times {

// Calendar fields of a time stamp. Times are whole seconds since 1970-01-01
// 00:00:00 in a signed 32-bit count, with no time zone, daylight saving or leap
// seconds; every fourth year is a leap year (no century rule), which is the
// Gregorian calendar over the count's range.
struct DosDate {
  int16_t year = 0;  // full year, such as 2006
  int8_t month = 0;  // 1 to 12
  int8_t day = 0;    // from 1
};

struct DosTime {
  uint8_t minute = 0;
  uint8_t hour = 0;
  uint8_t hundredths = 0;
  uint8_t second = 0;
};

// Days before month m of a common year, and the leap day a leap year adds before
// it. Entry 0 counts like January, entry 13 like January of the next year.
inline constexpr int32_t DAYS_BEFORE_MONTH[14] = {0,   0,   31,  59,  90,  120, 151,
                                                  181, 212, 243, 273, 304, 334, 365};
inline constexpr int32_t LEAP_DAY_ADD[14] = {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
inline constexpr int32_t DAYS_IN_MONTH[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
inline constexpr int32_t DAYS_IN_MONTH_LEAP[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Seconds since 1970 of a date and time. A year before 1970 gives 0, whatever
// the other fields hold. Fields are not validated: a day past its month counts
// on into the next, hours, minutes and seconds add their multiples, a month
// below 0 counts as January and a month above 13 carries whole years. Hundredths
// above 50 add one second. A result past 2147483647 wraps.
int32_t dateTimeToSeconds(const DosDate& date, const DosTime& time);

// The date and time of a count of seconds (hundredths always 0). A negative
// count gives the date before 1970 in the same calendar: -1 is 31-12-1969
// 23:59:59.
void secondsToDateTime(int32_t seconds, DosDate* date, DosTime* time);

}  // namespace times
