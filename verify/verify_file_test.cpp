#include <gtest/gtest.h>

#include "tests/support/verifier_fixture.h"

namespace {

using datagen::DataFile;
using Call = RecordingSink::Call;
using Strings = std::vector<std::string>;

class VerifyFileTest : public VerifierTest {
 protected:
  // Verifies a default file, then each of files in turn; returns the warnings.
  Strings warningsAfter(const std::vector<DataFile>& files) {
    verifier.verifyFile(write("P0.DAT", DataFile()));
    for (std::size_t i = 0; i < files.size(); ++i) {
      verifier.verifyFile(write("P" + std::to_string(i + 1) + ".DAT", files[i]));
    }
    return log.messagesAt(LOG_WARNING);
  }
};

TEST_F(VerifyFileTest, FirstUsableFileIsAnnouncedAndCoversItsRecords) {
  const std::string path = write("P1.DAT", DataFile().startingAt(1000000));
  EXPECT_EQ(verifier.verifyFile(path), 0);
  EXPECT_EQ(log.calls, (std::vector<Call>{{LOG_INFO, 0, " File " + path, "   "}}));
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
  EXPECT_EQ(verifier.station.frequency, 10);
  EXPECT_EQ(verifier.header.declaredRecords, 6);
  EXPECT_EQ(verifier.header.recordCount, 6);
  EXPECT_EQ(verifier.header.binaryHeader[1095], 0x80 | (1095 & 0x3F));
  EXPECT_EQ(verifier.coverage->first()->start, 1000001);
  EXPECT_EQ(verifier.coverage->first()->end, 1000061);
  EXPECT_EQ(disk.opens, 1);  // one open, and a small file is read once
  EXPECT_EQ(disk.reads, 1);
}

TEST_F(VerifyFileTest, LargeFileIsReadInItsFirstBlockAndItsLastTwoBytes) {
  verifier.verifyFile(write("P1.DAT", DataFile().records(200)));  // 171 KiB
  EXPECT_EQ(verifier.header.recordCount, 200);
  EXPECT_EQ(disk.reads, 2);
}

TEST_F(VerifyFileTest, StationNameWarnsEveryTimeAndKeepsTheFirst) {
  const DataFile other = DataFile().set("SYSTEM", "NAME", "OTHER");
  EXPECT_EQ(warningsAfter({other, other}),
            Strings(2, "Station name OTHER differ from previous file's station name VELK"));
  EXPECT_EQ(log.calls[2].prefix, "disk/P1.DAT");
  EXPECT_EQ(log.calls[2].code, 100);
  EXPECT_EQ(verifier.counters.warningCount, 2);
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
}

TEST_F(VerifyFileTest, EmptyStationNameIsFilledLaterWithoutWarning) {
  verifier.verifyFile(write("P1.DAT", DataFile().remove("SYSTEM", "NAME")));
  verifier.verifyFile(write("P2.DAT", DataFile()));
  EXPECT_EQ(verifier.counters.warningCount, 0);
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
}

TEST_F(VerifyFileTest, PositionFollowsEveryFileAndAMissingValueEmptiesIt) {
  EXPECT_EQ(
      warningsAfter({DataFile().set("SYSTEM", "LAT", "50N"), DataFile().set("SYSTEM", "LAT", "50N"),
                     DataFile().remove("SYSTEM", "LON").remove("SYSTEM", "ALT"),
                     DataFile().set("SYSTEM", "LON", "17E"), DataFile().set("SYSTEM", "ALT", "310"),
                     DataFile().set("SYSTEM", "ALT", "310")}),
      (Strings{"Latitude 50N differ from previous file's latitude 49.1234N",
               "Latitude 49.1234N differ from previous file's latitude 50N",
               "Longitude  differ from previous file's longitude 16.5678E",
               "Altitude  differ from previous file's altitude 300",
               "Longitude 16.5678E differ from previous file's longitude 17E",
               "Altitude 310 differ from previous file's altitude 300"}));
  EXPECT_EQ(verifier.station.longitude.view(), "16.5678E");
  EXPECT_EQ(verifier.station.altitude.view(), "310");
}

TEST_F(VerifyFileTest, FrequencyFollowsEveryFileAndZeroMeansNoneSeen) {
  verifier.verifyFile(write("P1.DAT", DataFile().remove("SYSTEM", "FREQ")));
  EXPECT_EQ(verifier.station.frequency, -1);
  EXPECT_EQ(warningsAfter(
                {DataFile().set("SYSTEM", "FREQ", "0"), DataFile().set("SYSTEM", "FREQ", "20")}),
            (Strings{"Frequency 10 differ from previous file's frequency -1",
                     "Frequency 0 differ from previous file's frequency 10"}));
  EXPECT_EQ(verifier.station.frequency, 20);
}

TEST_F(VerifyFileTest, FullWidthStationValuesCompareCutToTheirWidth) {
  const std::string name12 = "ABCDEFGHIJKL", lat35 = std::string(30, '1') + "23456";
  const DataFile wide = DataFile().set("SYSTEM", "NAME", name12).set("SYSTEM", "LAT", lat35);
  verifier.verifyFile(write("P1.DAT", wide));
  verifier.verifyFile(write("P2.DAT", wide));
  EXPECT_EQ(verifier.counters.warningCount, 0);
  verifier.verifyFile(write("P3.DAT", DataFile().set("SYSTEM", "NAME", "ABCDEFGHI")));
  EXPECT_EQ(
      log.messagesAt(LOG_WARNING),
      (Strings{"Station name ABCDEFGHI differ from previous file's station name ABCDEFGHIJ",
               "Latitude 49.1234N differ from previous file's latitude " + std::string(30, '1')}));
}

TEST_F(VerifyFileTest, ChannelCountAgainstTheList) {
  EXPECT_EQ(
      warningsAfter(
          {DataFile().set("STREAM1", "CH#", "1,2,3,4"), DataFile().remove("FILE", "STREAM")}),
      (Strings{"channels number 3 in stream 1 differ from channels number from channels list 4",
               "channels number -1 in stream -1 differ from channels number from channels "
               "list 1"}));
  EXPECT_EQ(verifier.header.recordSeconds, -1);  // STREAM-1 has no keys
}

TEST_F(VerifyFileTest, UnusableFilesAreReportedAndChangeNothingElse) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  put("P2.DAT", "");
  put("P3.DAT", "x");
  for (const char* name : {"P2.DAT", "P3.DAT", "P4.DAT"}) {
    const std::string path = "disk/" + std::string(name);
    log.calls.clear();
    EXPECT_EQ(verifier.verifyFile(path), -1);
    EXPECT_EQ(log.calls,
              (std::vector<Call>{{LOG_INFO, 0, " File " + path, "   "},
                                 {LOG_ERROR, 100, " File " + path + " is unusable", "   "}}));
  }
  EXPECT_EQ(verifier.counters.fileCount, 4);
  EXPECT_EQ(verifier.counters.errorCount, 3);
  EXPECT_EQ(verifier.coverage->count(), 1);
  EXPECT_EQ(verifier.verifyFile(put("P5.DAT", "xy")), 0);  // two bytes are enough
}

TEST_F(VerifyFileTest, WithoutLogWarningsAreNotCountedButUnusableFilesAre) {
  verifier.log = nullptr;
  verifier.verifyFile(write("P1.DAT", DataFile()));
  verifier.verifyFile(
      write("P2.DAT", DataFile().set("SYSTEM", "LAT", "1").set("FILE", "TIME_INT", "1:0:0.5")));
  verifier.verifyFile("disk/missing.DAT");
  EXPECT_EQ(verifier.counters.warningCount, 0);
  EXPECT_EQ(verifier.counters.errorCount, 1);
  EXPECT_EQ(verifier.station.latitude.view(), "1");  // the change still happens
}

TEST_F(VerifyFileTest, ZeroRecordSecondsAndNoRecordsStillAddAnInterval) {
  verifier.verifyFile(write("P1.DAT", DataFile().set("STREAM1", "REC_SIZE_SEC", "0")));
  EXPECT_EQ(verifier.header.declaredRecords, 0);
  verifier.verifyFile(write("P2.DAT", DataFile().startingAt(2000000).records(0)));
  EXPECT_EQ(verifier.header.realSeconds, 0);
  EXPECT_EQ(verifier.coverage->count(), 2);
}

}  // namespace
