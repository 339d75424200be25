#include "summary/distinct_disks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "summary/summarize.h"
#include "tests/support/file_records.h"

namespace summary {

namespace {

using testsupport::usableFile;

// A disk of one file under the name, at the time given.
DiskRecord disk(const std::string& name, int64_t start, const std::string& file1 = "/P1.DAT") {
  return DiskRecord{name, {usableFile(name + file1, start, start + 60)}};
}

std::vector<std::string> namesOf(const DistinctDisks& distinct) {
  std::vector<std::string> names;
  for (const DiskRecord& record : distinct.disks) names.push_back(record.name);
  return names;
}

TEST(DistinctDisks, ADiskGivenTwiceIsKeptOnceAndNoFileOverlapsItself) {
  // A folder and its own summary: the same name and content.
  const DistinctDisks distinct =
      distinctDisks({disk("sample", 0), disk("other", 60), disk("sample", 0)});
  EXPECT_EQ(namesOf(distinct), (std::vector<std::string>{"other", "sample"}));
  ASSERT_EQ(distinct.repeated.size(), 1u);
  EXPECT_EQ(distinct.repeated[0].copy, 2u);
  EXPECT_EQ(distinct.repeated[0].original, 0u);
  EXPECT_TRUE(distinct.sharedNames.empty());
  const CoverageSummary summary = summarize(distinct.disks, {});
  EXPECT_TRUE(summary.stations[0].overlaps.empty());
  EXPECT_TRUE(summary.diskOverlaps.empty());
}

TEST(DistinctDisks, AFolderNamedTwoWaysIsOneDiskUnderTheFirstName) {
  const DistinctDisks distinct = distinctDisks({disk("sample", 0), disk("./sample", 0)});
  EXPECT_EQ(namesOf(distinct), (std::vector<std::string>{"./sample"}));
  ASSERT_EQ(distinct.repeated.size(), 1u);
  EXPECT_EQ(distinct.repeated[0].copy, 0u);
  EXPECT_EQ(distinct.repeated[0].original, 1u);
}

TEST(DistinctDisks, DisksThatShareANameAreNumberedByTheirContent) {
  // Three different disks, each surveyed at /mnt/cdrom, one of them twice.
  const std::vector<DiskRecord> given = {disk("/mnt/cdrom", 600), disk("/mnt/cdrom", 0),
                                         disk("/mnt/cdrom", 600), disk("/mnt/cdrom", 0, "/P0.DAT"),
                                         disk("a", 0, "/P9.DAT")};
  const DistinctDisks distinct = distinctDisks(given);
  EXPECT_EQ(namesOf(distinct),
            (std::vector<std::string>{"/mnt/cdrom (1)", "/mnt/cdrom (2)", "/mnt/cdrom (3)", "a"}));
  EXPECT_EQ(distinct.disks[0].files[0].path, "/mnt/cdrom/P0.DAT");  // paths stay as they were
  EXPECT_EQ(distinct.disks[1].files[0].start, 0);
  EXPECT_EQ(distinct.disks[2].files[0].start, 600);
  ASSERT_EQ(distinct.sharedNames.size(), 1u);
  EXPECT_EQ(distinct.sharedNames[0].name, "/mnt/cdrom");
  EXPECT_EQ(distinct.sharedNames[0].disks, 3u);
  ASSERT_EQ(distinct.repeated.size(), 1u);

  // Every order of the inputs gives the same disks and the same summary.
  const std::string expected = [&] {
    std::string text;
    for (const DiskRecord& record : distinct.disks)
      text += record.name + " " + record.files[0].path + " " +
              std::to_string(record.files[0].start) + "\n";
    return text;
  }();
  std::vector<std::size_t> order = {0, 1, 2, 3, 4};
  do {
    std::vector<DiskRecord> shuffled;
    for (const std::size_t i : order) shuffled.push_back(given[i]);
    std::string text;
    for (const DiskRecord& record : distinctDisks(shuffled).disks)
      text += record.name + " " + record.files[0].path + " " +
              std::to_string(record.files[0].start) + "\n";
    ASSERT_EQ(text, expected);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(DistinctDisks, EveryRecordedFieldBelongsToTheContent) {
  DiskRecord a = disk("d", 0), b = disk("d", 0);
  EXPECT_TRUE(sameContent(a, b));
  b.files[0].clockWarnings = {"w"};
  EXPECT_FALSE(sameContent(a, b));
  b = disk("d", 0);
  b.files[0].latitude = "50N";
  EXPECT_FALSE(sameContent(a, b));
  b = disk("d", 0);
  b.files.push_back(usableFile("d/P2.DAT", 60, 120));
  EXPECT_FALSE(sameContent(a, b));
  // A path that does not begin with the disk's name is taken whole.
  EXPECT_FALSE(sameContent(DiskRecord{"x", {usableFile("P1", 0, 1)}},
                           DiskRecord{"y", {usableFile("yP1", 0, 1)}}));
}

TEST(FileNameLabel, NamesTheDiskOnlyWhenThePathDoesNotBeginWithIt) {
  EXPECT_EQ((FileName{"sample", "sample/20060615/P1.DAT"}).label(), "sample/20060615/P1.DAT");
  EXPECT_EQ((FileName{"/mnt/cdrom (2)", "/mnt/cdrom/P1.DAT"}).label(),
            "/mnt/cdrom (2): /mnt/cdrom/P1.DAT");
}

}  // namespace

}  // namespace summary
