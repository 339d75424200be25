#include "times/calendar.h"

#include "base/wrap32.h"

namespace times {

namespace {

constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kDaysPerCycle = 1461;  // four years, the third a leap year

// Floor division and its non-negative remainder, for counts before 1970.
int32_t floorDiv(int32_t a, int32_t b) {
  const int32_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace

int32_t dateTimeToSeconds(const DosDate& date, const DosTime& time) {
  if (date.year < 1970) return 0;
  int32_t year = date.year;
  int32_t month = date.month;
  if (month < 0) month = 0;
  if (month > 13) {
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
  }
  const int32_t y = year - 1970;
  int32_t days = 365 * y + (y + 1) / 4 + DAYS_BEFORE_MONTH[month];
  if ((year - 1968) % 4 == 0) days += LEAP_DAY_ADD[month];
  days += date.day - 1;

  int32_t seconds = base::wrapAdd(base::wrapMul(days, 24), time.hour);
  seconds = base::wrapAdd(base::wrapMul(seconds, 60), time.minute);
  seconds = base::wrapAdd(base::wrapMul(seconds, 60), time.second);
  if (time.hundredths > 50) seconds = base::wrapAdd(seconds, 1);
  return seconds;
}

void secondsToDateTime(int32_t seconds, DosDate* date, DosTime* time) {
  const int32_t days = floorDiv(seconds, kSecondsPerDay);
  const auto r =
      static_cast<int32_t>(int64_t{seconds} - int64_t{days} * kSecondsPerDay);  // 0..86399
  time->second = static_cast<uint8_t>(r % 60);
  time->minute = static_cast<uint8_t>((r / 60) % 60);
  time->hour = static_cast<uint8_t>(r / 3600);
  time->hundredths = 0;

  const int32_t cycles = floorDiv(days, kDaysPerCycle);
  int32_t dayOfYear = days - cycles * kDaysPerCycle;  // 0 .. 1460
  int32_t year = 1970 + 4 * cycles;
  const int32_t* monthLengths = DAYS_IN_MONTH;
  if (dayOfYear >= 1096) {
    year += 3;
    dayOfYear -= 1096;
  } else if (dayOfYear >= 730) {
    year += 2;
    dayOfYear -= 730;
    monthLengths = DAYS_IN_MONTH_LEAP;
  } else if (dayOfYear >= 365) {
    year += 1;
    dayOfYear -= 365;
  }
  int32_t passed = 0;
  while (passed < 12 && dayOfYear >= monthLengths[passed]) {
    dayOfYear -= monthLengths[passed];
    ++passed;
  }
  date->year = static_cast<int16_t>(year);
  date->month = static_cast<int8_t>(passed + 1);
  date->day = static_cast<int8_t>(dayOfYear + 1);
}

}  // namespace times
