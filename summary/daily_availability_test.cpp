#include "summary/daily_availability.h"

#include <gtest/gtest.h>

#include "summary/summary_formats.h"
#include "tests/support/file_records.h"

namespace summary {

namespace {

using testsupport::usableFile;

constexpr int64_t kDay = kSecondsPerDay;

DayAvailability day(int64_t start, int64_t covered, int gaps, int64_t longestGap, int overlaps,
                    int64_t longestOverlap) {
  return {"VELK", start, covered, gaps, longestGap, overlaps, longestOverlap};
}

TEST(DailyAvailability, SpansGapsAndOverlapsAcrossMidnightCountOnBothDays) {
  // Day 0: covered 0..1000, a gap 1000..(day 1 + 500), then data to the end
  // of day 1, with two files covering 80 000..80 100 of day 1 twice.
  const CoverageSummary summary = summarize({{"a", {usableFile("a/1", 0, 1000)}},
                                             {"b",
                                              {usableFile("b/1", kDay + 500, 2 * kDay - 100),
                                               usableFile("b/2", kDay + 80000, 2 * kDay)}}},
                                            {});
  EXPECT_EQ(dailyAvailability(summary),
            (std::vector<DayAvailability>{day(0, 1000, 1, kDay - 1000, 0, 0),
                                          day(kDay, kDay - 500, 1, 500, 1, kDay - 80100)}));
}

TEST(DailyAvailability, PercentAndGapsAreOfTheWholeDayAndDaysWithoutDataAreListed) {
  SummaryOptions options;
  options.from = kDay / 2;  // the window starts at noon of day 0
  options.to = 3 * kDay;
  options.gapToleranceSeconds = 60;  // the 60 s gap on day 0 is not counted
  const CoverageSummary summary = summarize(
      {{"a", {usableFile("a/1", 0, kDay / 2 + 100), usableFile("a/2", kDay / 2 + 160, kDay)}}},
      options);
  const std::vector<DayAvailability> days = dailyAvailability(summary);
  ASSERT_EQ(days.size(), 3u);
  // The morning outside the window is missing, so it is a gap.
  EXPECT_EQ(days[0], day(0, kDay / 2 - 60, 1, kDay / 2, 0, 0));
  EXPECT_DOUBLE_EQ(days[0].percent(), 100.0 * (kDay / 2 - 60) / kDay);
  // Day 1 and 2 hold nothing: one gap across both, counted on each.
  EXPECT_EQ(days[1], day(kDay, 0, 1, kDay, 0, 0));
  EXPECT_EQ(days[2], day(2 * kDay, 0, 1, kDay, 0, 0));
}

TEST(DailyAvailability, DaysBefore1970AreWholeUtcDays) {
  const CoverageSummary summary =
      summarize({{"a", {usableFile("a/1", -kDay - 10, -kDay + 10)}}}, {});
  EXPECT_EQ(dailyAvailability(summary),
            (std::vector<DayAvailability>{day(-2 * kDay, 10, 1, kDay - 10, 0, 0),
                                          day(-kDay, 10, 1, kDay - 10, 0, 0)}));
}

// A day below 100 % has a gap that accounts for its missing time, the first and
// last day of the data as much as any other, past the tolerance as everywhere.
TEST(DailyAvailability, EdgeDaysCountTheirMissingHoursAsGaps) {
  struct Case {
    const char* what;
    std::vector<FileRecord> files;
    SummaryOptions options;
    std::vector<DayAvailability> expected;
  };
  SummaryOptions tolerance;
  tolerance.gapToleranceSeconds = 120;
  SummaryOptions windowWithGapAtItsStart;
  windowWithGapAtItsStart.from = kDay / 2;
  windowWithGapAtItsStart.gapToleranceSeconds = 120;
  const std::vector<Case> cases = {
      {"data ending a second after midnight",
       {usableFile("a/1", 0, kDay + 1)},
       {},
       {day(0, kDay, 0, 0, 0, 0), day(kDay, 1, 1, kDay - 1, 0, 0)}},
      {"data starting a second before midnight",
       {usableFile("a/1", kDay - 1, 2 * kDay)},
       {},
       {day(0, 1, 1, kDay - 1, 0, 0), day(kDay, kDay, 0, 0, 0, 0)}},
      {"missing hours at the edges within the tolerance are no gap",
       {usableFile("a/1", 60, kDay - 60)},
       tolerance,
       {day(0, kDay - 120, 0, 0, 0, 0)}},
      {"a gap within the tolerance at the window's start joins the morning outside it",
       {usableFile("a/1", 0, kDay / 2), usableFile("a/2", kDay / 2 + 60, kDay)},
       windowWithGapAtItsStart,
       {day(0, kDay / 2 - 60, 1, kDay / 2 + 60, 0, 0)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<DayAvailability> days =
        dailyAvailability(summarize({{"a", c.files}}, c.options));
    EXPECT_EQ(days, c.expected);
    for (const DayAvailability& d : days) {
      const int64_t missing = kDay - d.coveredSeconds;
      if (missing > c.options.gapToleranceSeconds) {
        EXPECT_GT(d.gapCount, 0);
      }
      EXPECT_LE(d.longestGapSeconds, missing);
    }
  }
}

TEST(DailyAvailability, EveryFormatStatesTheToleranceAndTheSameNumbers) {
  SummaryOptions options;
  options.gapToleranceSeconds = 5;
  const CoverageSummary summary =
      summarize({{"a",
                  {usableFile("a/1", 0, 3600), usableFile("a/2", 3630, 7200),
                   usableFile("a/3", 7000, 7300)}}},
                options);
  EXPECT_EQ(dailyCsv(summary),
            "station|day|percent|covered_seconds|gaps|longest_gap_seconds|overlaps|"
            "longest_overlap_seconds|gap_tolerance_seconds\r\n"
            "VELK|1970-01-01|8.414|7270|2|79100|1|200|5\r\n");
  EXPECT_EQ(dailyJson(summary),
            "{\n  \"gapToleranceSeconds\": 5,\n  \"days\": [\n"
            "    {\"station\":\"VELK\",\"day\":\"1970-01-01\",\"percent\":8.414,"
            "\"coveredSeconds\":7270,\"gaps\":2,\"longestGapSeconds\":79100,\"overlaps\":1,"
            "\"longestOverlapSeconds\":200}\n  ]\n}\n");
  EXPECT_EQ(dailyText(summary),
            "Daily availability (UTC days; gaps longer than 0d 0h 0m 5s counted)\n"
            "STATION  DAY          PERCENT   GAPS      LONGEST GAP  OVERLAPS  LONGEST OVERLAP\n"
            "VELK     1970-01-01     8.414      2   0d 21h 58m 20s         1     0d 0h 3m 20s\n");
  EXPECT_EQ(dailyJson(summarize({}, options)),
            "{\n  \"gapToleranceSeconds\": 5,\n  \"days\": []\n}\n");
}

}  // namespace

}  // namespace summary
