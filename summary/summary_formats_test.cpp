#include "summary/summary_formats.h"

#include <gtest/gtest.h>

#include "summary/summary_json.h"
#include "summary/utf8_text.h"

namespace summary {

namespace {

TEST(ValidUtf8, KeepsValidSequencesAndReadsOtherBytesAsLatin1) {
  EXPECT_EQ(validUtf8("Brno \xc5\xbd\xf0\x9f\x99\x82"), "Brno \xc5\xbd\xf0\x9f\x99\x82");
  EXPECT_EQ(validUtf8("caf\xe9"), "caf\xc3\xa9");
  EXPECT_EQ(validUtf8("\xc0\xaf\xed\xa0\x80"), "\xc3\x80\xc2\xaf\xc3\xad\xc2\xa0\xc2\x80");
  EXPECT_EQ(validUtf8("\xf5\x90\x80\x80"), "\xc3\xb5\xc2\x90\xc2\x80\xc2\x80");
}

TEST(SummaryFormats, OddStationNamesAreEscapedInJsonAndCsv) {
  FileRecord record;
  record.path = "d/P1";
  record.usable = true;
  record.station = "A|\"B\"\n\x01";
  record.end = 60;
  const CoverageSummary summary = summarize({{"d", {record}}}, {});
  EXPECT_NE(summaryJson(summary).find(R"("station": "A|\"B\"\n\u0001")"), std::string::npos);
  EXPECT_EQ(summaryCsv(summary),
            "kind|station|start|end|seconds|disk\r\n"
            "timespan|\"A|\"\"B\"\"\n\x01\"|1970-01-01T00:00:00|1970-01-01T00:01:00|60|d\r\n");
  EXPECT_NE(summaryText(summary).find("Station A|\"B\"\\x0a\\x01\n"), std::string::npos);
}

TEST(SummaryFormats, TimelineAxisSpansOnlyStationsThatHaveTime) {
  FileRecord covered;
  covered.station = "A";
  covered.usable = true;
  covered.start = 1150374896;  // 2006
  covered.end = covered.start + 3600;
  FileRecord unusable;
  unusable.station = "B";
  const std::string svg = timelineSvg(summarize({{"d", {covered, unusable}}}, {}));
  EXPECT_EQ(svg.find("1970"), std::string::npos);
}

TEST(SummaryFormats, TimelineAxisTicksStartAtTheFirstWholeStep) {
  FileRecord record;
  record.usable = true;
  record.start = 86400 * 3;  // midnight: the first tick is the window's start
  record.end = record.start + 86400 * 5;
  record.clockWarnings = {"w"};  // an event at the window's start
  const std::string svg = timelineSvg(summarize({{"d", {record}}}, {}));
  EXPECT_NE(svg.find("<path d=\"M180 "), std::string::npos);
  EXPECT_NE(svg.find(">1970-01-04</text>"), std::string::npos);
  EXPECT_NE(svg.find(">1970-01-09</text>"), std::string::npos);
}

}  // namespace

}  // namespace summary
