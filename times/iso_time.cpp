#include "times/iso_time.h"

#include <cinttypes>
#include <cstdio>

namespace times {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm,
// counted in 400-year eras so every step is exact).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  int64_t year, month, day;
};

CivilDate civilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  return CivilDate{yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool isLeapYear(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int64_t daysInMonth(int64_t year, int64_t month) {
  static constexpr int64_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly count digits at text[at], advancing at; nothing when any is
// missing.
std::optional<int64_t> digits(std::string_view text, std::size_t& at, std::size_t count) {
  if (text.size() - at < count) return std::nullopt;
  int64_t value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[at + i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  at += count;
  return value;
}

bool separator(std::string_view text, std::size_t& at, std::string_view accepted) {
  if (at >= text.size() || accepted.find(text[at]) == std::string_view::npos) return false;
  ++at;
  return true;
}

}  // namespace

std::string isoTimeOrNone(const std::optional<int64_t>& seconds) {
  return seconds ? isoTime(*seconds) : std::string("none");
}

std::string isoTime(int64_t seconds) {
  int64_t days = seconds / kSecondsPerDay;
  int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const CivilDate date = civilFromDays(days);
  if (date.year < 0 || date.year > 9999) {
    char text[64];
    std::snprintf(text, sizeof text, "%04" PRId64 "-%02" PRId64 "-%02" PRId64 "T%02d:%02d:%02d",
                  date.year, date.month, date.day, static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return text;
  }
  // The common case by hand: availability writes two for each of a
  // hundred thousand spans.
  std::string text = "0000-00-00T00:00:00";
  const auto put = [&](std::size_t at, int64_t value, int width) {
    for (std::size_t i = at + static_cast<std::size_t>(width); i-- > at; value /= 10)
      text[i] = static_cast<char>('0' + value % 10);
  };
  put(0, date.year, 4);
  put(5, date.month, 2);
  put(8, date.day, 2);
  put(11, rest / 3600, 2);
  put(14, rest / 60 % 60, 2);
  put(17, rest % 60, 2);
  return text;
}

std::optional<int64_t> parseIsoTime(std::string_view text) {
  std::size_t at = 0;
  const auto year = digits(text, at, 4);
  if (!year || !separator(text, at, "-")) return std::nullopt;
  const auto month = digits(text, at, 2);
  if (!month || !separator(text, at, "-")) return std::nullopt;
  const auto day = digits(text, at, 2);
  if (!day || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month)) {
    return std::nullopt;
  }
  int64_t secondOfDay = 0;
  if (at != text.size()) {
    const auto hour = separator(text, at, "T ") ? digits(text, at, 2) : std::nullopt;
    const auto minute = hour && separator(text, at, ":") ? digits(text, at, 2) : std::nullopt;
    const auto second = minute && separator(text, at, ":") ? digits(text, at, 2) : std::nullopt;
    if (!second || at != text.size() || *hour > 23 || *minute > 59 || *second > 59) {
      return std::nullopt;
    }
    secondOfDay = *hour * 3600 + *minute * 60 + *second;
  }
  return daysFromCivil(*year, *month, *day) * kSecondsPerDay + secondOfDay;
}

std::optional<int64_t> parseTypedTime(std::string_view text) {
  constexpr std::size_t kDateLength = 10;       // 2006-06-15
  constexpr std::size_t kNoSecondsLength = 16;  // 2006-06-15T12:30
  if (text.size() > kDateLength && text.back() == 'Z') text.remove_suffix(1);
  if (text.size() == kNoSecondsLength) return parseIsoTime(std::string(text) + ":00");
  return parseIsoTime(text);
}

}  // namespace times
