#include "times/calendar.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "times/iso_time.h"

namespace times {

namespace {

int32_t toSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                  int hundredths = 0) {
  const auto narrow = [](int value) { return static_cast<uint8_t>(value); };
  return dateTimeToSeconds(
      DosDate{static_cast<int16_t>(year), static_cast<int8_t>(month), static_cast<int8_t>(day)},
      DosTime{.minute = narrow(minute),
              .hour = narrow(hour),
              .hundredths = narrow(hundredths),
              .second = narrow(second)});
}

// "dd-mm-yyyy hh:mm:ss" of a count of seconds.
std::string toText(int32_t seconds) {
  DosDate date;
  DosTime time;
  secondsToDateTime(seconds, &date, &time);
  char text[40];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", date.day, date.month, date.year,
                time.hour, time.minute, time.second);
  return text;
}

TEST(DateTimeToSeconds, CountsEveryFieldOnWithoutValidating) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {toSeconds(1970, 1, 1), 0},
      {toSeconds(1972, 2, 29, 23, 59, 59), 68255999},
      {toSeconds(2000, 3, 1), 951868800},
      {toSeconds(2006, 6, 15, 12, 34, 56), 1150374896},
      {toSeconds(2038, 1, 19, 3, 14, 7), 2147483647},
      {toSeconds(2038, 1, 19, 3, 14, 8), INT32_MIN},         // wraps
      {toSeconds(1970, 1, 1, 0, 0, 0, 50), 0},               // hundredths round
      {toSeconds(2006, 6, 15, 12, 34, 56, 75), 1150374897},  // above 50 up
      {toSeconds(1969, 12, 31, 23, 59, 59), 0},              // before 1970: 0
      {toSeconds(-5, 100, 99, 200, 200, 200, 99), 0},
      {toSeconds(2006, 2, 31), 1141344000},  // 3 March
      {toSeconds(2006, 13, 1), 1167609600},  // 1 January 2007
      {toSeconds(2006, 1, 0), 1135987200},   // 31 December 2005
      {toSeconds(2006, 1, 1, 25), toSeconds(2006, 1, 2, 1)},
      {toSeconds(2006, 0, 1), toSeconds(2006, 1, 1)},     // months outside the
      {toSeconds(2006, -128, 1), toSeconds(2006, 1, 1)},  // tables never index
      {toSeconds(2006, 14, 1), toSeconds(2007, 2, 1)},    // past them
      {toSeconds(2003, 127, 1), toSeconds(2013, 7, 1)},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << i;
  toSeconds(32767, 127, 127, 255, 255, 255, 255);  // defined, whatever it gives
}

// Counts of 0 and more are pinned by the round trip below.
TEST(SecondsToDateTime, NegativeCountsGoBackBefore1970AndHundredthsAreCleared) {
  EXPECT_EQ(toText(-1), "31-12-1969 23:59:59");
  EXPECT_EQ(toText(INT32_MIN), "13-12-1901 20:45:52");
  DosDate date;
  DosTime time;
  time.hundredths = 77;
  secondsToDateTime(12345, &date, &time);
  EXPECT_EQ(time.hundredths, 0);
}

// The fields must also be in range: dateTimeToSeconds would take day 1 of month
// 13 of 1971 for 1 January 1972.
TEST(SecondsToDateTime, RoundTripsEverySampledCountThroughFieldsInRange) {
  std::mt19937 random(20060415);
  std::uniform_int_distribution<int32_t> any(0, INT32_MAX);
  for (int i = 0; i < 200000; ++i) {
    const int32_t seconds = i < 100 ? INT32_MAX - i : any(random);
    DosDate date;
    DosTime time;
    secondsToDateTime(seconds, &date, &time);
    ASSERT_EQ(dateTimeToSeconds(date, time), seconds) << seconds;
    ASSERT_TRUE(date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31 &&
                time.hour < 24 && time.minute < 60 && time.second < 60)
        << seconds;
  }
}

TEST(IsoTime, WritesAndReadsBackTimesAroundTheCountsLimits) {
  for (const int64_t seconds :
       {0LL, -1LL, 951825600LL, 2147483647LL, -2147483648LL, 4294967295LL}) {
    EXPECT_EQ(parseIsoTime(isoTime(seconds)), seconds) << seconds;
  }
  EXPECT_EQ(isoTime(951825600), "2000-02-29T12:00:00");
  EXPECT_EQ(isoTime(-1), "1969-12-31T23:59:59");
  EXPECT_EQ(isoTime(253402300799), "9999-12-31T23:59:59");  // the last of four digits
  EXPECT_EQ(isoTime(253402300800), "10000-01-01T00:00:00");
  EXPECT_EQ(isoTime(-62167219200), "0000-01-01T00:00:00");
  EXPECT_EQ(isoTime(-62167219201), "-001-12-31T23:59:59");
  EXPECT_EQ(parseIsoTime("2006-06-15"), parseIsoTime("2006-06-15 00:00:00"));
  for (const char* bad : {"2006-02-29", "2100-02-29", "2006-06-15T24:00:00", "2006-6-15",
                          "2006-06-15T12:00", "2006-06-15T12:00:00Z", "", "2006-13-01"}) {
    EXPECT_FALSE(parseIsoTime(bad)) << bad;
  }
}

TEST(IsoTime, TypedTimesTakeTheFormsPeopleTypeAndNothingElse) {
  const std::optional<int64_t> halfPastTwelve = parseIsoTime("2006-06-15T12:30:00");
  for (const char* same : {"2006-06-15T12:30", "2006-06-15 12:30", "2006-06-15T12:30Z",
                           "2006-06-15T12:30:00Z", "2006-06-15 12:30:00"}) {
    EXPECT_EQ(parseTypedTime(same), halfPastTwelve) << same;
  }
  EXPECT_EQ(parseTypedTime("2006-06-15"), parseIsoTime("2006-06-15T00:00:00"));
  for (const char* bad : {"2006-06-15T12", "2006-06-15T12:3", "2006-06-15T12:30ZZ",
                          "2006-06-15T24:00", "2006-06-15T12:30:00.5", "2006-06-15T12:30+01:00",
                          "Z", "2006-06-15T12:60Z", "15.06.2006"}) {
    EXPECT_FALSE(parseTypedTime(bad)) << bad;
  }
}

// The verifier's calendar and the ISO one agree over every 32-bit count.
TEST(IsoTime, AgreesWithTheVerifiersCalendarOverThe32BitRange) {
  std::mt19937 random(19011213);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  for (int i = 0; i < 20000; ++i) {
    const int32_t seconds = i == 0 ? INT32_MIN : i == 1 ? INT32_MAX : any(random);
    const std::string dayFirst = toText(seconds);  // dd-mm-yyyy hh:mm:ss
    const std::string iso = isoTime(seconds);      // yyyy-mm-ddThh:mm:ss
    ASSERT_EQ(
        iso.substr(0, 4) + iso.substr(5, 2) + iso.substr(8, 2) + iso.substr(11),
        dayFirst.substr(6, 4) + dayFirst.substr(3, 2) + dayFirst.substr(0, 2) + dayFirst.substr(11))
        << seconds;
  }
}

}  // namespace

}  // namespace times
