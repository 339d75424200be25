#include "report/station_report.h"

#include <cinttypes>
#include <ostream>
#include <string>

#include "base/text_format.h"
#include "base/wrap32.h"
#include "times/calendar.h"
#include "times/duration.h"

namespace report {

namespace {

struct CalendarTime {
  times::DosDate date;
  times::DosTime time;
};

CalendarTime calendarOf(int32_t seconds) {
  CalendarTime at;
  times::secondsToDateTime(seconds, &at.date, &at.time);
  return at;
}

void writeTwice(logging::LogSink& sink, const std::string& message, std::string_view prefix) {
  sink.write(logging::LOG_INFO, 0, message, prefix);
  sink.write(logging::LOG_SUMMARY, 0, message, prefix);
}

// "Data from " or "To        " and the time, day first, then its date year first.
std::string spanEnd(const char* label, int32_t seconds) {
  const CalendarTime at = calendarOf(seconds);
  return base::formatText("%s%2.2d/%2.2d/%4.4d %2.2d:%2.2d:%2.2d    (%4.4d-%2.2d-%2.2d)", label,
                          at.date.day, at.date.month, at.date.year, at.time.hour, at.time.minute,
                          at.time.second, at.date.year, at.date.month, at.date.day);
}

std::string dayTime(int32_t seconds) {
  const CalendarTime at = calendarOf(seconds);
  return base::formatText("%2.2d/%2.2d/%4.4d %2.2d:%2.2d:%2.2d", at.date.day, at.date.month,
                          at.date.year, at.time.hour, at.time.minute, at.time.second);
}

std::string intervalLine(int32_t start, int32_t end) {
  std::string line = base::formatText("[%s  -  %s]", dayTime(start).c_str(), dayTime(end).c_str());
  const times::DurationParts length = times::splitDuration(base::wrapSub(end, start));
  if (length.days != 0) {
    line += base::formatText(" %" PRId64 "d %" PRId64 "h", length.days, length.hours);
  } else {
    line += "    ";
    line +=
        length.hours != 0 ? base::formatText(" %" PRId64 "h", length.hours) : std::string("    ");
  }
  return line + base::formatText(" %" PRId64 "m %" PRId64 "s", length.minutes, length.seconds);
}

}  // namespace

void reportStation(const verify::CarriedStation& station, logging::LogSink& sink) {
  const std::string name(station.stationName.view());
  writeTwice(sink, base::formatText("station %s ", name.c_str()), logging::LOG_PREFIX);
  const std::string latitude(station.latitude.view()), longitude(station.longitude.view()),
      altitude(station.altitude.view());
  writeTwice(sink,
             base::formatText("Latitude: %s   Longitude: %s   Altitude: %s", latitude.c_str(),
                              longitude.c_str(), altitude.c_str()),
             logging::LOG_PREFIX_INDENTED);
}

void reportSpan(const times::IntervalList* list, logging::LogSink& sink) {
  int32_t first = 0, last = 0, total = 0;
  if (list != nullptr && list->begin() != list->end()) {
    first = (*list->begin()).start;
    for (const times::Interval interval : *list) {
      last = interval.end;
      total = base::wrapAdd(total, base::wrapSub(interval.end, interval.start));
    }
  }
  writeTwice(sink, spanEnd("Data from ", first), logging::LOG_PREFIX);
  writeTwice(sink, spanEnd("To        ", last), logging::LOG_PREFIX);
  const times::DurationParts span = times::splitDuration(base::wrapSub(last, first));
  writeTwice(sink,
             base::formatText("%" PRId64 "d %" PRId64 "h %" PRId64 "m %" PRId64 "s", span.days,
                              span.hours, span.minutes, span.seconds),
             logging::LOG_PREFIX);
  const times::DurationParts real = times::splitDuration(total);
  writeTwice(sink,
             base::formatText(" Real Data %" PRId64 "d %" PRId64 "h %" PRId64 "m %" PRId64 "s",
                              real.days, real.hours, real.minutes, real.seconds),
             logging::LOG_PREFIX);
}

void reportIntervals(const times::IntervalList* list, logging::LogSink& sink, std::ostream& out) {
  if (list == nullptr) return;
  out << "Data:\n" << std::flush;
  for (const times::Interval interval : *list) {
    writeTwice(sink, intervalLine(interval.start, interval.end), logging::LOG_PREFIX_INDENTED);
  }
}

}  // namespace report
