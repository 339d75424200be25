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

TEST(DailyAvailability, PercentIsOfTheWholeDayAndDaysWithoutDataAreListed) {
  SummaryOptions options;
  options.from = kDay / 2;  // the window starts at noon of day 0
  options.to = 3 * kDay;
  options.gapToleranceSeconds = 60;  // the 60 s gap on day 0 is not counted
  const CoverageSummary summary = summarize(
      {{"a", {usableFile("a/1", 0, kDay / 2 + 100), usableFile("a/2", kDay / 2 + 160, kDay)}}},
      options);
  const std::vector<DayAvailability> days = dailyAvailability(summary);
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days[0], day(0, kDay / 2 - 60, 0, 0, 0, 0));
  EXPECT_DOUBLE_EQ(days[0].percent(), 100.0 * (kDay / 2 - 60) / kDay);
  // Day 1 and 2 hold nothing: one gap across both, counted on each.
  EXPECT_EQ(days[1], day(kDay, 0, 1, kDay, 0, 0));
  EXPECT_EQ(days[2], day(2 * kDay, 0, 1, kDay, 0, 0));
}

TEST(DailyAvailability, DaysBefore1970AreWholeUtcDays) {
  const CoverageSummary summary =
      summarize({{"a", {usableFile("a/1", -kDay - 10, -kDay + 10)}}}, {});
  EXPECT_EQ(
      dailyAvailability(summary),
      (std::vector<DayAvailability>{day(-2 * kDay, 10, 0, 0, 0, 0), day(-kDay, 10, 0, 0, 0, 0)}));
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
            "VELK|1970-01-01|8.414|7270|1|30|1|200|5\r\n");
  EXPECT_EQ(dailyJson(summary),
            "{\n  \"gapToleranceSeconds\": 5,\n  \"days\": [\n"
            "    {\"station\":\"VELK\",\"day\":\"1970-01-01\",\"percent\":8.414,"
            "\"coveredSeconds\":7270,\"gaps\":1,\"longestGapSeconds\":30,\"overlaps\":1,"
            "\"longestOverlapSeconds\":200}\n  ]\n}\n");
  EXPECT_EQ(dailyText(summary),
            "Daily availability (UTC days; gaps longer than 0d 0h 0m 5s counted)\n"
            "STATION  DAY          PERCENT   GAPS      LONGEST GAP  OVERLAPS  LONGEST OVERLAP\n"
            "VELK     1970-01-01     8.414      1     0d 0h 0m 30s         1     0d 0h 3m 20s\n");
  EXPECT_EQ(dailyJson(summarize({}, options)),
            "{\n  \"gapToleranceSeconds\": 5,\n  \"days\": []\n}\n");
}

}  // namespace

}  // namespace summary
