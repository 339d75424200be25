#include "summary/summary_formats.h"

#include <gtest/gtest.h>

#include "summary/summary_json.h"
#include "survey/utf8_text.h"
#include "tests/support/file_records.h"

namespace summary {

namespace {

using testsupport::usableFile;

TEST(ValidUtf8, KeepsValidSequencesAndReadsOtherBytesAsLatin1) {
  EXPECT_EQ(survey::validUtf8("Brno \xc5\xbd\xf0\x9f\x99\x82"), "Brno \xc5\xbd\xf0\x9f\x99\x82");
  EXPECT_EQ(survey::validUtf8("caf\xe9"), "caf\xc3\xa9");
  EXPECT_EQ(survey::validUtf8("\xc0\xaf\xed\xa0\x80"), "\xc3\x80\xc2\xaf\xc3\xad\xc2\xa0\xc2\x80");
  EXPECT_EQ(survey::validUtf8("\xf5\x90\x80\x80"), "\xc3\xb5\xc2\x90\xc2\x80\xc2\x80");
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
            "kind|station|start|end|seconds|disk|files\r\n"
            "timespan|\"A|\"\"B\"\"\n\x01\"|1970-01-01T00:00:00|1970-01-01T00:01:00|60|d|\r\n");
  EXPECT_NE(summaryText(summary).find("Station A|\"B\"\\x0a\\x01\n"), std::string::npos);
}

// Three files of two disks that overlap one another: one region, two pairs.
CoverageSummary threeOverlappingFiles() {
  return summarize({{"a", {usableFile("a/1", 0, 100), usableFile("a/2", 50, 120)}},
                    {"b", {usableFile("b/1", 90, 200)}}},
                   {});
}

TEST(SummaryFormats, EveryFormatCountsOverlapRegionsAndLabelsThePairsApart) {
  const CoverageSummary summary = threeOverlappingFiles();
  const std::string text = summaryText(summary);
  EXPECT_NE(
      text.find("  overlaps: 1\n"
                "    1970-01-01T00:00:50 .. 1970-01-01T00:02:00  0d 0h 1m 10s  a/1, a/2, b/1\n"
                "  overlapping file pairs: 2\n"
                "    1970-01-01T00:00:50 .. 1970-01-01T00:01:40  0d 0h 0m 50s  a/1 and a/2\n"
                "    1970-01-01T00:01:30 .. 1970-01-01T00:02:00  0d 0h 0m 30s  a/2 and b/1\n"),
      std::string::npos)
      << text;
  const std::string csv = summaryCsv(summary);
  EXPECT_NE(
      csv.find("overlap|VELK|1970-01-01T00:00:50|1970-01-01T00:02:00|70|a,b|a/1,a/2,b/1\r\n"
               "overlap-pair|VELK|1970-01-01T00:00:50|1970-01-01T00:01:40|50|a|a/1,a/2\r\n"
               "overlap-pair|VELK|1970-01-01T00:01:30|1970-01-01T00:02:00|30|a,b|a/2,b/1\r\n"),
      std::string::npos)
      << csv;
  const std::string json = summaryJson(summary);
  EXPECT_NE(json.find(R"("overlaps": [
        {
          "start": "1970-01-01T00:00:50",
          "end": "1970-01-01T00:02:00",
          "seconds": 70,
          "files": [)"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find(R"("overlapPairs": [)"), std::string::npos);
}

// An overlap of many files reads as a count in text; CSV and JSON name each.
TEST(SummaryFormats, TextCountsTheFilesOfAnOverlapOfManyWhereCsvNamesThem) {
  const CoverageSummary summary = summarize(
      {{"a", {usableFile("a/1", 0, 100), usableFile("a/2", 50, 150)}},
       {"b",
        {usableFile("b/1", 100, 200), usableFile("b/2", 150, 250), usableFile("b/3", 200, 300)}}},
      {});
  EXPECT_NE(summaryText(summary).find("  overlaps: 1\n    1970-01-01T00:00:50 .. "
                                      "1970-01-01T00:04:10  0d 0h 3m 20s  5 files on a, b\n"),
            std::string::npos)
      << summaryText(summary);
  EXPECT_NE(summaryCsv(summary).find("|a,b|a/1,a/2,b/1,b/2,b/3\r\n"), std::string::npos);
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

TEST(SummaryFormats, TimelineTooltipsNameTheirDiskAndKeepTheirLineBreaks) {
  const std::string longName =
      "/media/operator/archive/shelf-7/" + std::string(40, 'x') + "-disk42";
  FileRecord first = usableFile(longName + "/1", 0, 86400),
             second = usableFile(longName + "/2", 10, 20);
  first.clockWarnings = second.clockWarnings = {"w"};  // two events at one pixel
  FileRecord broken;
  broken.path = longName + "/bad";
  const std::string svg = timelineSvg(summarize({{longName, {first, second, broken}}}, {}));
  EXPECT_NE(svg.find("<title>" + longName + ": covered 1970-01-01T00:00:00 .. "),
            std::string::npos);
  EXPECT_NE(svg.find("clock 1970-01-01T00:00:00 " + longName + "/1&#10;clock "), std::string::npos);
  EXPECT_EQ(svg.find("\\x0a"), std::string::npos);
  // The name cut from the left to what fits (22 characters and the ellipsis),
  // whole in its tooltip.
  EXPECT_NE(svg.find(">\u2026" + longName.substr(longName.size() - 22) + "<title>" + longName +
                     "</title></text>"),
            std::string::npos);
  EXPECT_NE(svg.find("1 unusable file:&#10;" + longName + "/bad</title>"), std::string::npos);
  // The 10 s overlap, far below a pixel, is still 3 px wide.
  EXPECT_NE(svg.find("width=\"3.0\" height=\"6.0\" fill=\"#e377c2\"><title>VELK overlap"),
            std::string::npos);
}

TEST(SummaryFormats, TimelineNamesTwentyUnusableFilesOfARowAndCountsTheRest) {
  std::vector<FileRecord> files = {usableFile("d/good", 0, 60)};
  for (int k = 10; k < 31; ++k) {  // 21 unusable files
    FileRecord broken;
    broken.path = "d/bad" + std::to_string(k);
    files.push_back(broken);
  }
  const std::string svg = timelineSvg(summarize({{"d", files}}, {}));
  EXPECT_NE(svg.find("21 unusable files:&#10;d/bad10&#10;"), std::string::npos);
  EXPECT_NE(svg.find("&#10;d/bad29&#10;and 1 more</title>"), std::string::npos);
  EXPECT_EQ(svg.find("d/bad30"), std::string::npos);
}

TEST(SummaryFormats, TimelineGroupsManyDisksByMonthAndNamesEachInItsTooltip) {
  std::vector<DiskRecord> disks;
  for (int k = 0; k < 41; ++k) {
    const int64_t start = 1150372801 + int64_t{k} * 86400;  // from 2006-06-15, a disk a day
    disks.push_back({"disk" + std::to_string(k), {usableFile("f", start, start + 3600)}});
  }
  const std::string svg = timelineSvg(summarize(disks, {}));
  EXPECT_NE(svg.find(">2006-06 (16 disks)<title>"), std::string::npos);
  EXPECT_NE(svg.find(">2006-07 (25 disks)<title>"), std::string::npos);
  EXPECT_EQ(svg.find(">disk40<"), std::string::npos);
  EXPECT_NE(svg.find("<title>disk40: covered 2006-07-25T12:00:01 .. "), std::string::npos);
}

// Many rows never shrink below a legible height: the picture grows instead.
TEST(SummaryFormats, TimelineRowsKeepALegibleHeightAndThePictureGrows) {
  std::vector<DiskRecord> disks;
  for (int k = 0; k < 40; ++k) {  // a row per disk, and a station row per disk
    FileRecord file = usableFile("f", int64_t{k} * 3600, int64_t{k} * 3600 + 600);
    file.station = "S" + std::to_string(k);
    disks.push_back({"disk" + std::to_string(k), {file}});
  }
  const std::string svg = timelineSvg(summarize(disks, {}));
  EXPECT_NE(svg.find(" height=\"2090\" viewBox"), std::string::npos) << svg.substr(0, 200);
  EXPECT_NE(svg.find("font-size=\"10\" text-anchor=\"end\">disk39<"), std::string::npos);
  EXPECT_NE(svg.find("text-anchor=\"end\">merged S39<"), std::string::npos);
}

TEST(SummaryFormats, PageCarriesItsDataAsStepsInsideOneScriptElementWhateverTheNames) {
  FileRecord first = usableFile("d/1", 1000, 1100), second = usableFile("d/2", 1150, 1200);
  first.station = second.station = "</script><b>&";
  FileRecord broken;
  broken.path = "d/<!--<SCRIPT>";
  const std::string page = coveragePage(summarize({{"d", {first, second, broken}}}, {}));
  const auto count = [&page](std::string_view text) {
    std::size_t found = 0;
    for (std::size_t at = page.find(text); at != std::string::npos; at = page.find(text, at + 1))
      ++found;
    return found;
  };
  EXPECT_EQ(count("</script>"), 2u);  // the page's own two
  EXPECT_EQ(count("<!--"), 0u);
  EXPECT_EQ(count("/*COVERAGE-DATA*/"), 0u);
  EXPECT_NE(page.find(R"("name":"\u003c/script\u003e\u003cb\u003e\u0026","window":[0,200],)"
                      R"("spans":[0,100,50,50],)"
                      R"("gaps":[100,50],"gapDisks":[[0]],"overlaps":[])"),
            std::string::npos);
  EXPECT_NE(page.find(R"("base":1000,"disks":[{"name":"d","files":3,"first":0,"last":200,)"
                      R"("spans":[0,100,50,50],"unusable":["d/\u003c!--\u003cSCRIPT\u003e"]}])"),
            std::string::npos);
}

}  // namespace

}  // namespace summary
