// The three start time stamps of a data file and the clock checks.

#include <type_traits>

#include "base/c_scan.h"
#include "base/wrap32.h"
#include "times/calendar.h"
#include "verify/archive_verifier.h"
#include "verify/data_file_header.h"

namespace verify {

namespace {

// Low bits of a scanned number, as the calendar records keep them.
template <typename Field>
Field lowBits(int32_t value) {
  using Unsigned = std::make_unsigned_t<Field>;
  return static_cast<Field>(static_cast<Unsigned>(static_cast<uint32_t>(value)));
}

struct Stamp {
  int32_t seconds;
  int32_t hundredths;
};

// One stamp: the date key as "%d-%d-%d" (day, month, year), the time key as
// "%d:%d:%d" (hours, minutes, seconds), followed by ".%d" (hundredths) when
// withHundredths is set. Numbers not reached stay 0. The hundredths take no part
// in the conversion, so both clocks are converted alike.
Stamp readStamp(const profile::ProfileText& text, std::string_view dateKey,
                std::string_view timeKey, bool withHundredths) {
  int32_t date[3] = {0, 0, 0};
  int32_t time[4] = {0, 0, 0, 0};
  base::scanDecimals(text.readString("FILE", dateKey, kHeaderTextSize), "--", date);
  base::scanDecimals(text.readString("FILE", timeKey, kHeaderTextSize),
                     withHundredths ? "::." : "::", time);
  times::DosDate dosDate;
  dosDate.day = lowBits<int8_t>(date[0]);
  dosDate.month = lowBits<int8_t>(date[1]);
  dosDate.year = lowBits<int16_t>(date[2]);
  times::DosTime dosTime;
  dosTime.hour = lowBits<uint8_t>(time[0]);
  dosTime.minute = lowBits<uint8_t>(time[1]);
  dosTime.second = lowBits<uint8_t>(time[2]);
  dosTime.hundredths = 0;
  return Stamp{times::dateTimeToSeconds(dosDate, dosTime), time[3]};
}

}  // namespace

void readStartTimes(const profile::ProfileText& text, FileHeaderValues& values) {
  const Stamp internal = readStamp(text, "DATE_INT", "TIME_INT", true);
  values.startInternal = internal.seconds;
  values.startHundredths = internal.hundredths;
  values.startExternal = readStamp(text, "DATE_EXT", "TIME_EXT", false).seconds;
  values.startDos = readStamp(text, "DATE_DOS", "TIME_DOS", false).seconds;
}

void ArchiveVerifier::checkStartTimes() {
  const int32_t expectedInternal = base::wrapAdd(header_.startExternal, 1);
  if (header_.startInternal != expectedInternal) {
    report({.kind = FindingKind::kClockUnsynchronised,
            .number = header_.startInternal,
            .expected = expectedInternal});
  }
  if (header_.startHundredths != 0) {
    report({.kind = FindingKind::kStartHundredths, .number = header_.startHundredths});
  }
}

}  // namespace verify
