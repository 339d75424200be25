#include "timecov/calendar.h"

#include <gtest/gtest.h>

#include <random>

namespace {

int32_t toSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                  int hundredths = 0) {
  DosDate date;
  date.year = static_cast<int16_t>(year);
  date.month = static_cast<int8_t>(month);
  date.day = static_cast<int8_t>(day);
  DosTime time;
  time.hour = static_cast<uint8_t>(hour);
  time.minute = static_cast<uint8_t>(minute);
  time.second = static_cast<uint8_t>(second);
  time.hundredths = static_cast<uint8_t>(hundredths);
  return dateTimeToSeconds(date, time);
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

TEST(DateTimeToSeconds, WorkedExamples) {
  EXPECT_EQ(toSeconds(1970, 1, 1), 0);
  EXPECT_EQ(toSeconds(1972, 2, 29, 23, 59, 59), 68255999);
  EXPECT_EQ(toSeconds(1972, 3, 1), 68256000);
  EXPECT_EQ(toSeconds(2000, 2, 29, 12), 951825600);
  EXPECT_EQ(toSeconds(2000, 3, 1), 951868800);
  EXPECT_EQ(toSeconds(2006, 6, 15, 12, 34, 56), 1150374896);
  EXPECT_EQ(toSeconds(2038, 1, 19, 3, 14, 7), 2147483647);
  EXPECT_EQ(toSeconds(2006, 2, 1, 10, 0, 1), 1138788001);
}

TEST(DateTimeToSeconds, HundredthsAboveFiftyAddOneSecond) {
  EXPECT_EQ(toSeconds(1970, 1, 1, 0, 0, 0, 50), 0);
  EXPECT_EQ(toSeconds(1970, 1, 1, 0, 0, 0, 51), 1);
  EXPECT_EQ(toSeconds(2006, 6, 15, 12, 34, 56, 75), 1150374897);
  EXPECT_EQ(toText(toSeconds(2006, 6, 15, 12, 34, 56, 75)), "15-06-2006 12:34:57");
  EXPECT_EQ(toText(toSeconds(2004, 12, 31, 23, 59, 59, 99)), "01-01-2005 00:00:00");
  EXPECT_EQ(toSeconds(1970, 1, 1, 0, 0, 0, 255), 1);
}

TEST(DateTimeToSeconds, YearBefore1970GivesZeroWhateverElse) {
  EXPECT_EQ(toSeconds(1969, 12, 31, 23, 59, 59), 0);
  EXPECT_EQ(toSeconds(6, 2, 1, 10), 0);
  EXPECT_EQ(toSeconds(-5, 100, 99, 200, 200, 200, 99), 0);
}

TEST(DateTimeToSeconds, UnvalidatedFieldsCountOn) {
  EXPECT_EQ(toSeconds(2006, 2, 31), 1141344000);
  EXPECT_EQ(toText(1141344000), "03-03-2006 00:00:00");
  EXPECT_EQ(toSeconds(2006, 13, 1), 1167609600);
  EXPECT_EQ(toText(1167609600), "01-01-2007 00:00:00");
  EXPECT_EQ(toSeconds(2006, 0, 1), 1136073600);
  EXPECT_EQ(toSeconds(2006, 1, 0), 1135987200);
  EXPECT_EQ(toText(1135987200), "31-12-2005 00:00:00");
  EXPECT_EQ(toSeconds(2006, 1, 1, 25), toSeconds(2006, 1, 2, 1));
}

TEST(DateTimeToSeconds, MonthOutsideTheTablesNeverIndexesPastThem) {
  EXPECT_EQ(toSeconds(2006, -1, 1), toSeconds(2006, 1, 1));
  EXPECT_EQ(toSeconds(2006, -128, 1), toSeconds(2006, 1, 1));
  EXPECT_EQ(toSeconds(2006, 14, 1), toSeconds(2007, 2, 1));
  EXPECT_EQ(toSeconds(2006, 25, 1), toSeconds(2008, 1, 1));
  EXPECT_EQ(toSeconds(2003, 127, 1), toSeconds(2013, 7, 1));
}

TEST(DateTimeToSeconds, SecondsPast2038Wrap) {
  EXPECT_EQ(toSeconds(2038, 1, 19, 3, 14, 8), INT32_MIN);
  toSeconds(32767, 127, 127, 255, 255, 255, 255);  // defined, whatever it gives
}

TEST(SecondsToDateTime, DayBoundariesAndExtremes) {
  EXPECT_EQ(toText(0), "01-01-1970 00:00:00");
  EXPECT_EQ(toText(86399), "01-01-1970 23:59:59");
  EXPECT_EQ(toText(86400), "02-01-1970 00:00:00");
  EXPECT_EQ(toText(2147483647), "19-01-2038 03:14:07");
}

TEST(SecondsToDateTime, LeapDays) {
  EXPECT_EQ(toText(68255999), "29-02-1972 23:59:59");
  EXPECT_EQ(toText(951825600), "29-02-2000 12:00:00");
  EXPECT_EQ(toText(951868800), "01-03-2000 00:00:00");
}

TEST(SecondsToDateTime, NegativeCountsGiveDatesBefore1970) {
  EXPECT_EQ(toText(-1), "31-12-1969 23:59:59");
  EXPECT_EQ(toText(-86400), "31-12-1969 00:00:00");
  EXPECT_EQ(toText(INT32_MIN), "13-12-1901 20:45:52");
}

TEST(SecondsToDateTime, SetsHundredthsToZero) {
  DosDate date;
  DosTime time;
  time.hundredths = 77;
  secondsToDateTime(12345, &date, &time);
  EXPECT_EQ(time.hundredths, 0);
}

TEST(SecondsToDateTime, RoundTripsEverySampledCount) {
  std::mt19937 random(20060415);
  std::uniform_int_distribution<int32_t> any(0, INT32_MAX);
  for (int i = 0; i < 200000; ++i) {
    const int32_t seconds = i < 100 ? INT32_MAX - i : any(random);
    DosDate date;
    DosTime time;
    secondsToDateTime(seconds, &date, &time);
    ASSERT_EQ(dateTimeToSeconds(date, time), seconds) << seconds;
  }
}

}  // namespace
