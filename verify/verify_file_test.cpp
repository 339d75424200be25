#include <gtest/gtest.h>

#include "tests/support/verifier_fixture.h"

namespace {

using datagen::DataFile;
using Call = RecordingSink::Call;
using Strings = std::vector<std::string>;

class VerifyFileTest : public VerifierTest {};

TEST_F(VerifyFileTest, FirstUsableFileIsAnnouncedAndStoredSilently) {
  const std::string path = write("P1.DAT", DataFile());
  EXPECT_EQ(verifier.verifyFile(path), 0);
  EXPECT_EQ(log.calls, (std::vector<Call>{{LOG_INFO, 0, " File " + path, "   "}}));
  EXPECT_EQ(verifier.counters.fileCount, 1);
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
  EXPECT_EQ(verifier.station.latitude.view(), "49.1234N");
  EXPECT_EQ(verifier.station.longitude.view(), "16.5678E");
  EXPECT_EQ(verifier.station.altitude.view(), "300");
  EXPECT_EQ(verifier.station.frequency, 10);
}

TEST_F(VerifyFileTest, ReadsStreamAndRecordValues) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  EXPECT_EQ(verifier.header.groupCount, 1);
  EXPECT_EQ(verifier.header.streamTotal, 1);
  EXPECT_EQ(verifier.header.channelTotal, 3);
  EXPECT_EQ(verifier.header.streamNumber, 1);
  EXPECT_EQ(verifier.header.streamChannels, 3);
  EXPECT_EQ(verifier.header.channelListCount, 3);
  EXPECT_EQ(verifier.header.recordSeconds, 10);
  EXPECT_EQ(verifier.header.fileSeconds, 60);
  EXPECT_EQ(verifier.header.headerSize, 1024);
  EXPECT_EQ(verifier.header.dataOffset, 2120);
  EXPECT_EQ(verifier.header.dataSeconds, 60);
  EXPECT_EQ(verifier.header.declaredRecords, 6);
  EXPECT_EQ(verifier.header.recordCount, 6);
  EXPECT_EQ(verifier.header.realSeconds, 60);
  EXPECT_EQ(verifier.header.channelNames[0].view(), "Z");
  EXPECT_EQ(verifier.header.channelNames[2].view(), "E");
  EXPECT_EQ(verifier.header.channelRates[1], 10);
  EXPECT_EQ(verifier.header.binaryHeader[0], 0x80);
  EXPECT_EQ(verifier.header.binaryHeader[1095], 0x80 | (1095 & 0x3F));
}

TEST_F(VerifyFileTest, AddsTheIntervalItsRecordsCover) {
  verifier.verifyFile(write("P1.DAT", DataFile().startingAt(1000000)));
  verifier.verifyFile(write("P2.DAT", DataFile().startingAt(1000060)));
  verifier.verifyFile(write("P3.DAT", DataFile().startingAt(2000000).records(0)));
  ASSERT_EQ(verifier.coverage->count(), 2);
  int32_t start = 0, end = 0;
  verifier.coverage->at(0, &start, &end);
  EXPECT_EQ(start, 1000001);
  EXPECT_EQ(end, 1000121);
  verifier.coverage->at(1, &start, &end);
  EXPECT_EQ(start, 2000001);
  EXPECT_EQ(end, 2000001);
}

TEST_F(VerifyFileTest, DifferentStationNameWarnsEveryTimeAndKeepsTheFirst) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  const std::string second = write("P2.DAT", DataFile().set("SYSTEM", "NAME", "OTHER"));
  verifier.verifyFile(second);
  verifier.verifyFile(second);
  const Call warning{LOG_WARNING, 100,
                     "Station name OTHER differ from previous file's station name VELK", second};
  EXPECT_EQ(log.calls[2], warning);
  EXPECT_EQ(log.calls[4], warning);
  EXPECT_EQ(verifier.counters.warningCount, 2);
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
}

TEST_F(VerifyFileTest, EmptyStationNameIsFilledLaterWithoutWarning) {
  verifier.verifyFile(write("P1.DAT", DataFile().remove("SYSTEM", "NAME")));
  verifier.verifyFile(write("P2.DAT", DataFile()));
  EXPECT_EQ(verifier.counters.warningCount, 0);
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
}

TEST_F(VerifyFileTest, DifferentLatitudeWarnsAndReplacesTheStoredOne) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  const std::string moved = write("P2.DAT", DataFile().set("SYSTEM", "LAT", "50N"));
  verifier.verifyFile(moved);
  verifier.verifyFile(moved);
  verifier.verifyFile(write("P3.DAT", DataFile()));
  EXPECT_EQ(messagesAt(LOG_WARNING),
            (Strings{"Latitude 50N differ from previous file's latitude 49.1234N",
                     "Latitude 49.1234N differ from previous file's latitude 50N"}));
  EXPECT_EQ(verifier.station.latitude.view(), "49.1234N");
}

TEST_F(VerifyFileTest, MissingPositionValueWarnsWithEmptyTextAndEmptiesTheField) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  verifier.verifyFile(write("P2.DAT", DataFile().remove("SYSTEM", "LON").remove("SYSTEM", "ALT")));
  EXPECT_TRUE(verifier.station.longitude.empty());
  verifier.verifyFile(write("P3.DAT", DataFile().set("SYSTEM", "LON", "17E")));
  EXPECT_EQ(messagesAt(LOG_WARNING),
            (Strings{"Longitude  differ from previous file's longitude 16.5678E",
                     "Altitude  differ from previous file's altitude 300"}));
  EXPECT_EQ(verifier.station.longitude.view(), "17E");
  EXPECT_EQ(verifier.station.altitude.view(), "300");
}

TEST_F(VerifyFileTest, FrequencyFromMissingToGivenWarnsWithMinusOne) {
  verifier.verifyFile(write("P1.DAT", DataFile().remove("SYSTEM", "FREQ")));
  EXPECT_EQ(verifier.station.frequency, -1);
  const std::string second = write("P2.DAT", DataFile().set("SYSTEM", "FREQ", "100"));
  verifier.verifyFile(second);
  EXPECT_EQ(log.calls[2], (Call{LOG_WARNING, 100,
                                "Frequency 100 differ from previous file's frequency -1", second}));
  EXPECT_EQ(verifier.station.frequency, 100);
}

TEST_F(VerifyFileTest, FrequencyZeroIsTakenAfterAWarningAndThenForgotten) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  verifier.verifyFile(write("P2.DAT", DataFile().set("SYSTEM", "FREQ", "0")));
  verifier.verifyFile(write("P3.DAT", DataFile().set("SYSTEM", "FREQ", "20")));
  EXPECT_EQ(messagesAt(LOG_WARNING),
            (Strings{"Frequency 0 differ from previous file's frequency 10"}));
  EXPECT_EQ(verifier.station.frequency, 20);
}

TEST_F(VerifyFileTest, FullWidthStationValuesCompareCutToTheirWidth) {
  const std::string name12 = "ABCDEFGHIJKL";
  const std::string lat35 = std::string(30, '1') + "23456";
  verifier.verifyFile(
      write("P1.DAT", DataFile().set("SYSTEM", "NAME", name12).set("SYSTEM", "LAT", lat35)));
  verifier.verifyFile(
      write("P2.DAT", DataFile().set("SYSTEM", "NAME", name12).set("SYSTEM", "LAT", lat35)));
  EXPECT_EQ(verifier.counters.warningCount, 0);
  EXPECT_EQ(verifier.station.stationName.view(), "ABCDEFGHIJ");
  verifier.verifyFile(write("P3.DAT", DataFile().set("SYSTEM", "NAME", "ABCDEFGHI")));
  EXPECT_EQ(messagesAt(LOG_WARNING)[0],
            "Station name ABCDEFGHI differ from previous file's station name ABCDEFGHIJ");
  EXPECT_EQ(messagesAt(LOG_WARNING)[1],
            "Latitude 49.1234N differ from previous file's latitude " + std::string(30, '1'));
}

TEST_F(VerifyFileTest, MissingStreamKeyUsesSectionStreamMinusOne) {
  const std::string path = write("P1.DAT", DataFile().remove("FILE", "STREAM"));
  verifier.verifyFile(path);
  EXPECT_EQ(verifier.header.streamNumber, -1);
  EXPECT_EQ(verifier.header.streamChannels, -1);
  EXPECT_EQ(verifier.header.recordSeconds, -1);
  EXPECT_EQ(verifier.header.fileSeconds, -1);
  EXPECT_EQ(verifier.header.channelListCount, 1);
  EXPECT_EQ(
      log.calls[1],
      (Call{LOG_WARNING, 100,
            "channels number -1 in stream -1 differ from channels number from channels list 1",
            path}));
}

TEST_F(VerifyFileTest, ChannelCountMismatchWarns) {
  const std::string path = write("P1.DAT", DataFile().set("STREAM1", "CH#", "1,2,3,4"));
  verifier.verifyFile(path);
  EXPECT_EQ(
      messagesAt(LOG_WARNING),
      (Strings{"channels number 3 in stream 1 differ from channels number from channels list 4"}));
}

TEST_F(VerifyFileTest, EmptyAndOneByteAndMissingFilesAreUnusable) {
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
  EXPECT_EQ(verifier.station.stationName.view(), "VELK");
}

TEST_F(VerifyFileTest, TwoByteFileIsUsable) { EXPECT_EQ(verifier.verifyFile(put("P1.DAT", "xy")), 0); }

TEST_F(VerifyFileTest, OpensTheFileOnceAndReadsASmallOneOnce) {
  verifier.verifyFile(write("P1.DAT", DataFile()));
  EXPECT_EQ(disk.opens, 1);
  EXPECT_EQ(disk.reads, 1);
}

TEST_F(VerifyFileTest, WithoutLogWarningsAreNotCountedButUnusableFilesAre) {
  verifier.log = nullptr;
  verifier.verifyFile(write("P1.DAT", DataFile()));
  verifier.verifyFile(
      write("P2.DAT", DataFile().set("SYSTEM", "LAT", "1").set("FILE", "TIME_INT", "1:0:0.5")));
  verifier.verifyFile("disk/missing.DAT");
  EXPECT_EQ(verifier.counters.warningCount, 0);
  EXPECT_EQ(verifier.counters.errorCount, 1);
  EXPECT_EQ(verifier.counters.fileCount, 3);
  EXPECT_EQ(verifier.station.latitude.view(), "1");  // the change still happens
}

TEST_F(VerifyFileTest, ZeroRecordSecondsKeepsGoing) {
  verifier.verifyFile(write("P1.DAT", DataFile().set("STREAM1", "REC_SIZE_SEC", "0")));
  EXPECT_EQ(verifier.header.declaredRecords, 0);
  EXPECT_EQ(verifier.header.realSeconds, 0);
  EXPECT_EQ(verifier.coverage->count(), 1);
}

}  // namespace
