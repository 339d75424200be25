#include "summary/summarize.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/path_rules.h"
#include "summary/summary_json.h"
#include "survey/disk_survey.h"
#include "tests/support/file_records.h"
#include "tests/support/memory_disk.h"
#include "tests/support/time_span_printer.h"
#include "tools/datagen/data_file.h"
#include "verify/archive_verifier.h"

namespace summary {

namespace {

using Spans = std::vector<times::TimeSpan>;
using Names = std::vector<std::string>;

using testsupport::usableFile;

TEST(Summarize, PositionChangeBetweenDisksIsAnEventAndTouchingDisksMakeOneSpan) {
  const std::vector<DiskRecord> disks = {{"b", {usableFile("b/2", 100, 200, "50N")}},
                                         {"a", {usableFile("a/1", 0, 100)}}};
  const CoverageSummary summary = summarize(disks, {});
  ASSERT_EQ(summary.stations.size(), 1u);
  const StationSummary& station = summary.stations[0];
  EXPECT_EQ(station.timespans, (std::vector<SpanWithDisks>{{{0, 200}, {"a", "b"}}}));
  ASSERT_EQ(station.events.size(), 1u);
  const StationEvent& event = station.events[0];
  ASSERT_TRUE(event.change);
  EXPECT_EQ(std::string(eventKindName(event.kind)) + " " + event.change->field + " " +
                event.change->from + " " + event.change->to,
            "position latitude 49N 50N");
  EXPECT_EQ(event.file, (FileName{"b", "b/2"}));
  EXPECT_EQ(event.change->previousFile, (FileName{"a", "a/1"}));
  EXPECT_TRUE(summary.diskGaps.empty() && summary.diskOverlaps.empty());
  // The same result whatever the order of the inputs.
  EXPECT_EQ(summaryJson(summary), summaryJson(summarize({disks[1], disks[0]}, {})));
  // Disks of one name keep the order they were given in.
  const CoverageSummary same =
      summarize({{"d", {usableFile("d/2", 0, 10)}}, {"d", {usableFile("d/1", 5, 9)}}}, {});
  ASSERT_EQ(same.disks.size(), 2u);
  EXPECT_EQ(same.disks[0].record.files[0].path, "d/2");
  EXPECT_EQ(same.disks[1].record.files[0].path, "d/1");
}

TEST(Summarize, OverlapRegionsNameTheirFilesAndThePairsTheyAreMadeOf) {
  const CoverageSummary summary =
      summarize({{"a", {usableFile("a/1", 0, 100), usableFile("a/2", 20, 30)}},
                 {"b", {usableFile("b/1", 25, 60), usableFile("b/2", 50, 150)}},
                 {"c", {usableFile("c/1", 140, 200), usableFile("c/2", 300, 400)}},
                 {"d", {usableFile("d/1", 350, 360)}}},
                {});
  const StationSummary& station = summary.stations[0];
  EXPECT_EQ(station.overlapPairs.size(), 5u);
  // Three pairs within 20..100 are one region, as the timespans merge.
  EXPECT_EQ(station.overlaps,
            (std::vector<OverlapRegion>{
                {{20, 100}, {{"a", "a/1"}, {"a", "a/2"}, {"b", "b/1"}, {"b", "b/2"}}, {"a", "b"}},
                {{140, 150}, {{"b", "b/2"}, {"c", "c/1"}}, {"b", "c"}},
                {{350, 360}, {{"c", "c/2"}, {"d", "d/1"}}, {"c", "d"}}}));
}

TEST(Summarize, OverlapsNameBothFilesAndGapsTheirNeighbours) {
  const CoverageSummary summary =
      summarize({{"a", {usableFile("a/1", 0, 100), usableFile("a/2", 20, 30)}},
                 {"b", {usableFile("b/1", 50, 150), usableFile("b/2", 300, 400)}}},
                {});
  const StationSummary& station = summary.stations[0];
  ASSERT_EQ(station.overlapPairs.size(), 2u);
  EXPECT_EQ(station.overlapPairs[0].span, (times::TimeSpan{20, 30}));
  EXPECT_EQ(station.overlapPairs[1].span, (times::TimeSpan{50, 100}));
  EXPECT_EQ(station.overlapPairs[1].first, (FileName{"a", "a/1"}));
  EXPECT_EQ(station.overlapPairs[1].second, (FileName{"b", "b/1"}));
  EXPECT_EQ(spansOf(station.overlaps), (Spans{{20, 30}, {50, 100}}));
  EXPECT_EQ(station.gaps, (std::vector<SpanWithDisks>{{{150, 300}, {"b"}}}));
  EXPECT_EQ(station.realDataSeconds, 250);
  EXPECT_EQ(station.coveragePercent, 62.5);
  ASSERT_EQ(summary.diskOverlaps.size(), 1u);
  EXPECT_EQ(summary.diskOverlaps[0].span, (times::TimeSpan{50, 100}));
}

TEST(Summarize, WindowEdgesAreGapsAndCoverageIsOfTheWindow) {
  SummaryOptions options;
  options.from = 50;
  options.to = 250;
  options.gapToleranceSeconds = 49;
  const StationSummary station =
      summarize({{"a", {usableFile("a/1", 0, 100), usableFile("a/2", 120, 200)}}}, options)
          .stations[0];
  EXPECT_EQ(spansOf(station.timespans), (Spans{{50, 100}, {120, 200}}));
  // 20 s inside, within the tolerance
  EXPECT_EQ(station.gaps, (std::vector<SpanWithDisks>{{{200, 250}, {"a"}}}));
  EXPECT_EQ(station.coveragePercent, 65);
  EXPECT_EQ(station.spanSeconds, 200);  // the files' own span
}

TEST(Summarize, FilesWithoutTimeAndClockWarningsAreEventsOnly) {
  FileRecord empty = usableFile("a/2", 500, 500), unusable;
  unusable.path = "a/3";
  unusable.station = "VELK";
  FileRecord late = usableFile("a/1", 100, 200);
  late.clockWarnings = {"Possible time unsyncronysation int: 1 ext: 2"};
  const StationSummary station = summarize({{"a", {late, empty, unusable}}}, {}).stations[0];
  EXPECT_EQ(spansOf(station.timespans), (Spans{{100, 200}}));
  Names kinds;
  for (const StationEvent& event : station.events) kinds.emplace_back(eventKindName(event.kind));
  EXPECT_EQ(kinds, (Names{"clock", "no-coverage", "unusable"}));
  const StationSummary nothing = summarize({{"b", {empty}}}, {}).stations[0];
  EXPECT_EQ(nothing.window.seconds(), 0);
  EXPECT_EQ(nothing.coveragePercent, 0);
}

TEST(Summarize, SummaryReadBackFromJsonGivesTheSameSummary) {
  FileRecord odd = usableFile("a/\xc3\xa9|\"x\"", 0, 10);
  odd.station = "V|\"\n";
  odd.clockWarnings = {"w"};
  odd.frequency = INT32_MAX;
  FileRecord unusable;
  unusable.path = "a/u";
  const CoverageSummary summary = summarize({{"a", {odd, unusable}}, {"b", {}}}, {});
  const auto disks = disksFromSummaryJson(summaryJson(summary));
  ASSERT_TRUE(disks);
  EXPECT_EQ(summaryJson(summarize(*disks, {})), summaryJson(summary));
}

// Every field is checked for its type and range, and the message names the key
// and the record; nothing is taken modulo 2^64 or read from a null.
TEST(Summarize, SummaryFieldsAreCheckedAndProblemsNamedWithTheirRecord) {
  FileRecord record = usableFile("a/1", 0, 10);
  record.frequency = INT32_MAX;
  const std::string text = summaryJson(summarize({{"a", {record}}}, {}));
  const auto problemWith = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    const std::size_t at = changed.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    changed.replace(at, from.size(), to);
    const auto read = disksFromSummaryJson(changed);
    return read ? std::string("read") : read.problem();
  };
  const std::string frequency = "\"frequency\":2147483647";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\"frequency\":1e20", "disk 1: file 1: \"frequency\" is not a 32-bit integer"},
      {"\"frequency\":18446744073709551615",
       "disk 1: file 1: \"frequency\" is not a 32-bit integer"},
      {"\"frequency\":2147483648", "disk 1: file 1: \"frequency\" is not a 32-bit integer"},
      {"\"frequency\":-2147483648", "read"},
      {"\"frequency\":\"10\"", "disk 1: file 1: \"frequency\" is not a 32-bit integer"},
  };
  for (const auto& [to, expected] : cases) EXPECT_EQ(problemWith(frequency, to), expected) << to;
  EXPECT_EQ(problemWith("\"files\": [", "\"files\": null, \"x\": ["),
            "disk 1: \"files\" is not a list");
  EXPECT_EQ(problemWith("\"usable\":true", "\"usable\":1"),
            "disk 1: file 1: \"usable\" is not true or false");
  EXPECT_EQ(problemWith("\"path\":\"a/1\",", ""), "disk 1: file 1: \"path\" is missing");
  EXPECT_EQ(problemWith("\"clockWarnings\":[]", "\"clockWarnings\":[1]"),
            "disk 1: file 1: \"clockWarnings\" holds something other than texts");
  for (const char* summary : {"{\"version\": 1}", "{\"version\": 1, \"disks\": null}",
                              "{\"version\": 1, \"disks\": {\"disk\": \"a\"}}"}) {
    EXPECT_EQ(disksFromSummaryJson(summary).problem().substr(0, 8), "\"disks\" ") << summary;
  }
  EXPECT_EQ(disksFromSummaryJson("{\"version\": 1, \"disks\": [1]}").problem(),
            "disk 1: a record that is not an object");
  EXPECT_EQ(disksFromSummaryJson("{\"version\": ").problem(), "not valid JSON: it ends too early");
  EXPECT_EQ(disksFromSummaryJson("{\"version\": 2, \"disks\": 1E400}").problem(),
            "not valid JSON: a number is out of range");
  EXPECT_EQ(disksFromSummaryJson("{\"version\": x}").problem(), "not valid JSON (at byte 13)");
  for (const char* version : {"\"1\"", "0", "3", "1.5"}) {
    EXPECT_EQ(disksFromSummaryJson(std::string("{\"version\": ") + version + ", \"disks\": []}")
                  .problem(),
              "not a cdcoverage summary of version 1 to 2")
        << version;
  }
  // Version 1 wrote the disks as version 2 does.
  for (const char* version : {"1", "2"}) {
    EXPECT_TRUE(disksFromSummaryJson(std::string("{\"version\": ") + version + ", \"disks\": []}"));
  }
}

// On random disks, the union of the intervals cdverify gathers equals the
// covered spans cdcoverage reports.
TEST(Summarize, CoveredSpansEqualTheUnionOfTheVerifiersIntervals) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int32_t> start(1150000000, 1150020000), records(0, 40);
  for (int round = 0; round < 20; ++round) {
    testsupport::MemoryDisk disk;
    const std::string root = *platform::diskRoot("d");
    disk.addDirectory(root, "20060615");
    const std::string directory = root + "20060615" + platform::kPathSeparator;
    for (int i = 0; i < 30; ++i) {
      disk.addFile(directory, "P" + std::to_string(i) + ".DAT",
                   datagen::DataFile().startingAt(start(random)).records(records(random)).bytes());
    }
    walk::WalkSettings settings;
    settings.archiveDisk = "d";
    settings.fileExtension = "*";
    settings.streamLetter = 'P';
    verify::ArchiveVerifier verifier(disk);
    walk::walkArchive(settings, disk, verifier);
    Spans intervals;
    for (const times::Interval interval : verifier.coverage()) {
      intervals.push_back(times::TimeSpan{interval.start, interval.end});
    }
    const base::Outcome<survey::DiskSurvey> survey = survey::surveyDisk(settings, disk);
    const std::optional<DiskRecord> record =
        survey ? std::optional<DiskRecord>(survey->record) : std::nullopt;
    ASSERT_TRUE(record);
    EXPECT_EQ(spansOf(summarize({*record}, {}).stations.at(0).timespans),
              times::unionOf(intervals));
  }
}

}  // namespace

}  // namespace summary
