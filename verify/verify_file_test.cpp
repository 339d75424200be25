#include <gtest/gtest.h>

#include "tests/support/verifier_fixture.h"

namespace verify {

namespace {

using datagen::DataFile;
using Call = RecordingSink::Call;
using Strings = std::vector<std::string>;

using VerifyFileTest = VerifierTest;

TEST_F(VerifyFileTest, FirstUsableFileIsAnnouncedAndCoversItsRecords) {
  const std::string path = write("P1.DAT", DataFile().startingAt(1000000));
  verifier.verifyFile(path);
  EXPECT_EQ(log.calls, (std::vector<Call>{{logging::LOG_INFO, 0, " File " + path, "   "}}));
  EXPECT_EQ(verifier.header().recordCount, 6);
  EXPECT_EQ(verifier.coverage().first()->start, 1000001);
  EXPECT_EQ(verifier.coverage().first()->end, 1000061);
  EXPECT_EQ(disk.opens, 1);  // one open, and a small file is read once
  EXPECT_EQ(disk.reads, 1);
}

TEST_F(VerifyFileTest, LargeFileIsReadInItsFirstBlockAndItsLastTwoBytes) {
  verifier.verifyFile(write("P1.DAT", DataFile().records(200)));  // 171 KiB
  EXPECT_EQ(verifier.header().recordCount, 200);
  EXPECT_EQ(disk.reads, 2);
}

// A default data file with one station value (a key of SYSTEM) set or removed.
DataFile station(const std::string& key, const std::string& value) {
  return DataFile().set("SYSTEM", key, value);
}
DataFile withoutStation(const std::string& key) { return DataFile().remove("SYSTEM", key); }

// Each case verifies its files in turn. A warning names the value of the file
// before, so the cases also pin which value each check carries on.
TEST(VerifyFile, StationAndChannelValuesAreComparedWithTheFileBefore) {
  const DataFile plain,
      wide = station("NAME", "ABCDEFGHIJKL").set("SYSTEM", "LAT", "1234" + std::string(31, '1'));
  const std::vector<std::pair<std::vector<DataFile>, Strings>> cases = {
      // The station name warns every time and keeps the first; an empty one is
      // filled later without a warning.
      {{plain, station("NAME", "OTHER"), station("NAME", "OTHER")},
       Strings(2, "Station name OTHER differ from previous file's station name VELK")},
      {{withoutStation("NAME"), plain}, {}},
      // The position follows every file, and a missing value empties it.
      {{plain, station("LAT", "50N"), station("LAT", "50N"),
        withoutStation("LON").remove("SYSTEM", "ALT"), station("LON", "17E"), station("ALT", "310"),
        station("ALT", "310")},
       {"Latitude 50N differ from previous file's latitude 49.1234N",
        "Latitude 49.1234N differ from previous file's latitude 50N",
        "Longitude  differ from previous file's longitude 16.5678E",
        "Altitude  differ from previous file's altitude 300",
        "Longitude 16.5678E differ from previous file's longitude 17E",
        "Altitude 310 differ from previous file's altitude 300"}},
      // So does the frequency; after a missing one or 0 any frequency is taken.
      {{withoutStation("FREQ"), plain, station("FREQ", "0"), station("FREQ", "20"), plain},
       {"Frequency 10 differ from previous file's frequency -1",
        "Frequency 0 differ from previous file's frequency 10",
        "Frequency 10 differ from previous file's frequency 20"}},
      // Full-width values compare cut to their width.
      {{wide, wide, station("NAME", "ABCDEFGHI")},
       {"Station name ABCDEFGHI differ from previous file's station name ABCDEFGHIJ",
        "Latitude 49.1234N differ from previous file's latitude 1234" + std::string(26, '1')}},
      // The channel count against the list.
      {{plain, DataFile().set("STREAM1", "CH#", "1,2,3,4"), DataFile().remove("FILE", "STREAM")},
       {"channels number 3 in stream 1 differ from channels number from channels list 4",
        "channels number -1 in stream -1 differ from channels number from channels list 1"}},
  };
  for (const auto& [files, warnings] : cases) {
    testsupport::MemoryDisk disk;
    RecordingSink log;
    VerificationLog logged(log);
    ArchiveVerifier verifier(disk, profile::ProfileDialect::kPosix);
    verifier.addListener(logged);
    for (std::size_t i = 0; i < files.size(); ++i) {
      disk.addFile("disk/", "P" + std::to_string(i), files[i].bytes());
      verifier.verifyFile("disk/P" + std::to_string(i));
    }
    EXPECT_EQ(log.messagesAt(logging::LOG_WARNING), warnings);
    EXPECT_EQ(verifier.counters().warningCount, static_cast<int32_t>(warnings.size()));
  }
}

TEST_F(VerifyFileTest, UnusableFilesAreReportedAndChangeNothingElse) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  put("P2.DAT", "");
  put("P3.DAT", "x");
  for (const char* name : {"P2.DAT", "P3.DAT", "P4.DAT"}) {
    const std::string path = "disk/" + std::string(name);
    log.calls.clear();
    verifier.verifyFile(path);
    EXPECT_EQ(log.calls, (std::vector<Call>{
                             {logging::LOG_INFO, 0, " File " + path, "   "},
                             {logging::LOG_ERROR, 100, " File " + path + " is unusable", "   "}}));
  }
  EXPECT_EQ(verifier.counters().fileCount, 4);
  EXPECT_EQ(verifier.counters().errorCount, 3);
  EXPECT_EQ(verifier.coverage().count(), 1);
  verifier.verifyFile(put("P5.DAT", "xy"));  // two bytes are enough
  EXPECT_EQ(verifier.counters().errorCount, 3);
}

TEST(VerifyFile, WithoutListenersWarningsAreNotCountedButUnusableFilesAre) {
  testsupport::MemoryDisk disk;
  ArchiveVerifier verifier(disk, profile::ProfileDialect::kPosix);
  const auto write = [&](const std::string& name, const DataFile& file) {
    disk.addFile("disk/", name, file.bytes());
    return "disk/" + name;
  };
  verifier.verifyFile(write("P1.DAT", DataFile()));
  verifier.verifyFile(
      write("P2.DAT", DataFile().set("SYSTEM", "LAT", "1").set("FILE", "TIME_INT", "1:0:0.5")));
  verifier.verifyFile("disk/missing.DAT");
  EXPECT_EQ(verifier.counters().warningCount, 0);
  EXPECT_EQ(verifier.counters().errorCount, 1);
  EXPECT_EQ(verifier.station().latitude.view(), "1");  // the change still happens
}

TEST_F(VerifyFileTest, ZeroRecordSecondsAndNoRecordsStillAddAnInterval) {
  verifier.verifyFile(write("P1.DAT", DataFile().set("STREAM1", "REC_SIZE_SEC", "0")));
  EXPECT_EQ(verifier.header().declaredRecords, 0);
  verifier.verifyFile(write("P2.DAT", DataFile().startingAt(2000000).records(0)));
  EXPECT_EQ(verifier.header().realSeconds, 0);
  EXPECT_EQ(verifier.coverage().count(), 2);
}

}  // namespace

}  // namespace verify
