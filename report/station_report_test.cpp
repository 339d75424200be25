#include "report/station_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/recording_sink.h"

namespace report {

namespace {

using Call = RecordingSink::Call;
using Strings = std::vector<std::string>;

// The messages of a sink that must hold every line twice, info then summary,
// with code 0 and the same prefix; returns each line once.
Strings linesWrittenTwice(const RecordingSink& sink) {
  Strings lines;
  EXPECT_EQ(sink.calls.size() % 2, 0u);
  for (std::size_t i = 0; i + 1 < sink.calls.size(); i += 2) {
    const Call& info = sink.calls[i];
    EXPECT_EQ(info.level, logging::LOG_INFO);
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(sink.calls[i + 1], (Call{logging::LOG_SUMMARY, 0, info.message, info.prefix}));
    lines.push_back(info.prefix + "|" + info.message);
  }
  return lines;
}

constexpr int32_t kJune15 = 1150374896;  // 15-06-2006 12:34:56

class ReportTest : public ::testing::Test {
 protected:
  Strings span(std::initializer_list<std::pair<int32_t, int32_t>> intervals) {
    fill(intervals);
    reportSpan(&list, sink);
    return linesWrittenTwice(sink);
  }
  Strings intervalLines(std::initializer_list<std::pair<int32_t, int32_t>> intervals) {
    fill(intervals);
    std::ostringstream out;
    reportIntervals(&list, sink, out);
    EXPECT_EQ(out.str(), "Data:\n");
    return linesWrittenTwice(sink);
  }
  void fill(std::initializer_list<std::pair<int32_t, int32_t>> intervals) {
    for (const auto& [start, end] : intervals) list.mergeInto(start, end);
  }

  times::IntervalList list{0};
  RecordingSink sink;
};

// Its lengths show the three forms: with days, with hours only, with neither.
TEST_F(ReportTest, WorkedExample) {
  EXPECT_EQ(intervalLines({{kJune15, kJune15 + 93784},
                           {1150500000, 1150500000 + 7205},
                           {1150600000, 1150600000 + 65}}),
            (Strings{"    |[15/06/2006 12:34:56  -  16/06/2006 14:38:00] 1d 2h 3m 4s",
                     "    |[16/06/2006 23:20:00  -  17/06/2006 01:20:05]     2h 0m 5s",
                     "    |[18/06/2006 03:06:40  -  18/06/2006 03:07:45]         1m 5s"}));
  sink.calls.clear();
  EXPECT_EQ(span({}), (Strings{"   |Data from 15/06/2006 12:34:56    (2006-06-15)",
                               "   |To        18/06/2006 03:07:45    (2006-06-18)",
                               "   |2d 14h 32m 49s", "   | Real Data 1d 4h 4m 14s"}));
}

// An empty list's report is pinned by the end-to-end logs of a run without a disk.
TEST_F(ReportTest, NoListReportsTheEpochSpanAndNoIntervals) {
  reportSpan(nullptr, sink);
  EXPECT_EQ(linesWrittenTwice(sink)[0], "   |Data from 01/01/1970 00:00:00    (1970-01-01)");
  sink.calls.clear();
  std::ostringstream out;
  reportIntervals(nullptr, sink, out);
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(sink.calls.empty());
}

TEST_F(ReportTest, SpanTakesTheLastNodesEndAndCountsOverlapsTwice) {
  fill({{200, 300}, {100, 1000}});  // the enclosing interval becomes a node of its own
  list.sortByStart(times::SORT_ASCENDING);
  const Strings lines = span({});
  EXPECT_EQ(lines[1], "   |To        01/01/1970 00:05:00    (1970-01-01)");
  EXPECT_EQ(lines[2], "   |0d 0h 3m 20s");
  EXPECT_EQ(lines[3], "   | Real Data 0d 0h 16m 40s");
}

TEST_F(ReportTest, HugeDifferencesWrapInsteadOfOverflowing) {
  EXPECT_EQ(span({{INT32_MIN, INT32_MAX}})[2], "   |0d 0h 0m -1s");
}

TEST(StationReport, FullWidthFieldsPrintTheirWholeWidth) {
  verify::CarriedStation station;
  station.stationName.fill("ABCDEFGHIJKL");
  station.latitude.fill(std::string(35, 'a'));
  station.longitude.fill(std::string(30, 'o'));
  station.altitude.fill(std::string(30, 'h'));
  RecordingSink sink;
  reportStation(station, sink);
  EXPECT_EQ(linesWrittenTwice(sink),
            (Strings{"   |station ABCDEFGHIJ ", "    |Latitude: " + std::string(30, 'a') +
                                                    "   Longitude: " + std::string(30, 'o') +
                                                    "   Altitude: " + std::string(30, 'h')}));
}

}  // namespace

}  // namespace report
