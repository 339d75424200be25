#include <gtest/gtest.h>

#include "verify/verifier_test_fixture.h"

namespace {

using datagen::DataFile;

class ChannelListTest : public VerifierTest {};

TEST_F(ChannelListTest, SplitsNumbersAtCommas) {
  verifier.readChannelList("1,2,3");
  EXPECT_EQ(verifier.channelListCount, 3);
  EXPECT_EQ(verifier.channelNumbers[0], 1);
  EXPECT_EQ(verifier.channelNumbers[2], 3);
}

TEST_F(ChannelListTest, EmptyEntriesCountAndReadZero) {
  verifier.readChannelList("");
  EXPECT_EQ(verifier.channelListCount, 1);
  EXPECT_EQ(verifier.channelNumbers[0], 0);
  verifier.readChannelList("4,5,");
  EXPECT_EQ(verifier.channelListCount, 3);
  EXPECT_EQ(verifier.channelNumbers[2], 0);
  verifier.readChannelList("7,,x");
  EXPECT_EQ(verifier.channelListCount, 3);
  EXPECT_EQ(verifier.channelNumbers[1], 0);
  EXPECT_EQ(verifier.channelNumbers[2], 0);
}

TEST_F(ChannelListTest, BlanksBeforeAnEntryAreSkipped) {
  verifier.readChannelList("4, 5,  6");
  EXPECT_EQ(verifier.channelNumbers[1], 5);
  EXPECT_EQ(verifier.channelNumbers[2], 6);
}

TEST_F(ChannelListTest, NumbersAreKeptAsTheirLowEightBitsSigned) {
  verifier.readChannelList("200,-1,256,127,-129");
  EXPECT_EQ(verifier.channelNumbers[0], -56);
  EXPECT_EQ(verifier.channelNumbers[1], -1);
  EXPECT_EQ(verifier.channelNumbers[2], 0);
  EXPECT_EQ(verifier.channelNumbers[3], 127);
  EXPECT_EQ(verifier.channelNumbers[4], 127);
}

TEST_F(ChannelListTest, MoreThanThirtyTwoEntriesAreCountedButNotStored) {
  std::string list = "9";
  for (int i = 1; i < 40; ++i) list += "," + std::to_string(i);
  verifier.readChannelList(list);
  EXPECT_EQ(verifier.channelListCount, 40);
  EXPECT_EQ(verifier.channelNumbers[31], 31);
}

class HeaderReadTest : public VerifierTest {
 protected:
  // Verifies a file so that every header value is read, then returns its path.
  std::string verify(const DataFile& file) {
    const std::string path = write("P1.DAT", file);
    verifier.verifyFile(path);
    return path;
  }
};

TEST_F(HeaderReadTest, ChannelNumber200ReadsSectionChMinus56) {
  verify(DataFile()
             .set("STREAM1", "N_CH", "1")
             .set("STREAM1", "CH#", "200")
             .set("CH-56", "NAME", "WRAPPED")
             .set("GROUP1", "CH#", "200"));
  EXPECT_EQ(verifier.channelNames[0].view(), "WRAPPED");
  EXPECT_EQ(verifier.channelRates[0], 10);
}

TEST_F(HeaderReadTest, ChannelNameFillsItsTenCharacters) {
  verify(DataFile().set("CH1", "NAME", "VERTICAL-SEISMOMETER"));
  EXPECT_EQ(verifier.channelNames[0].view(), "VERTICAL-S");
}

TEST_F(HeaderReadTest, FirstGroupGivingAChannelARateDecides) {
  verify(DataFile()
             .set("SYSTEM", "N_GROUP", "3")
             .set("GROUP1", "CH#", "2")
             .set("GROUP2", "FREQ", "50")
             .set("GROUP2", "CH#", "1,2")
             .set("GROUP3", "CH#", "9"));
  EXPECT_EQ(verifier.channelRates[0], 50);
  EXPECT_EQ(verifier.channelRates[1], 10);
  EXPECT_EQ(verifier.channelRates[2], -1);
}

TEST_F(HeaderReadTest, GroupWithoutFreqGivesMinusTen) {
  verify(DataFile().remove("GROUP1", "FREQ"));
  EXPECT_EQ(verifier.channelRates[0], -10);
}

TEST_F(HeaderReadTest, NoGroupsLeaveEveryRateAtMinusOne) {
  verify(DataFile().remove("SYSTEM", "N_GROUP"));
  EXPECT_EQ(verifier.groupCount, -1);
  EXPECT_EQ(verifier.channelRates[0], -1);
  EXPECT_EQ(verifier.channelRates[2], -1);
}

TEST_F(HeaderReadTest, AbsentGroupGivesChannelZeroMinusTen) {
  verify(DataFile()
             .set("SYSTEM", "N_GROUP", "2")
             .set("STREAM1", "CH#", "0,2,3")
             .set("GROUP1", "CH#", "2,3"));
  EXPECT_EQ(verifier.channelRates[0], -10);  // GROUP2 is absent: FREQ -10, list "" (channel 0)
  EXPECT_EQ(verifier.channelRates[1], 10);
}

TEST_F(HeaderReadTest, HugeGroupCountCostsOnlyTheGroupsPresent) {
  verify(DataFile()
             .set("SYSTEM", "N_GROUP", "2000000000")
             .set("STREAM1", "CH#", "0,2,3")
             .set("GROUP1", "CH#", "3")
             .set("GROUP1999999999", "FREQ", "77")
             .set("GROUP1999999999", "CH#", "2"));
  EXPECT_EQ(verifier.channelRates[0], -10);
  EXPECT_EQ(verifier.channelRates[1], 77);
  EXPECT_EQ(verifier.channelRates[2], 10);
}

TEST_F(HeaderReadTest, StreamOfMoreThanThirtyTwoChannelsUsesTheFirstThirtyTwo) {
  std::string list = "1";
  for (int i = 1; i < 40; ++i) list += "," + std::to_string(i % 9 + 1);
  verify(DataFile()
             .set("STREAM1", "N_CH", "40")
             .set("STREAM1", "CH#", list)
             .set("GROUP1", "CH#", "1,2,3,4,5,6,7,8,9"));
  EXPECT_EQ(verifier.channelListCount, 40);
  EXPECT_EQ(verifier.channelRates[31], 10);
}

TEST_F(HeaderReadTest, ZeroChannelsChangeNoArrayAndGiveRecordsOf256Bytes) {
  verifier.channelRates[0] = 1234;
  verify(DataFile().set("STREAM1", "N_CH", "0").recordSize(256).records(4));
  EXPECT_EQ(verifier.channelRates[0], 1234);
  EXPECT_EQ(verifier.recordCount, 4);
}

class CountRecordsTest : public VerifierTest {
 protected:
  int32_t count(int32_t offset, int32_t length) {
    std::string bytes(static_cast<std::size_t>(length), 'x');
    testsupport::writeFile(dir.path() / "P.DAT", bytes);
    verifier.dataOffset = offset;
    return verifier.countRecords(dir.file("P.DAT"));
  }
};

TEST_F(CountRecordsTest, TenThousandByteExample) {
  verifier.recordSeconds = 1;
  verifier.channelRates[0] = 100;
  verifier.streamChannels = 3;  // 856-byte records
  EXPECT_EQ(count(1000, 10000), 10);
  EXPECT_EQ(count(1000, 1000 + 855), 0);
  EXPECT_EQ(count(1000, 1000 + 856), 1);
  EXPECT_EQ(count(1000, 500), 0);    // short by less than a record
  EXPECT_EQ(count(2000, 1000), -1);  // short by more than a record
}

TEST_F(CountRecordsTest, NonPositiveRecordSizeGivesZero) {
  verifier.recordSeconds = -1;
  verifier.channelRates[0] = 1000;
  verifier.streamChannels = 1;
  EXPECT_EQ(count(0, 5000), 0);
  verifier.recordSeconds = 65536;
  verifier.channelRates[0] = 65536;  // the size wraps to 256
  EXPECT_EQ(count(0, 512), 2);
}

TEST_F(CountRecordsTest, UnopenableFileGivesMinusOne) {
  EXPECT_EQ(verifier.countRecords(dir.file("missing")), -1);
}

class BinaryHeaderTest : public VerifierTest {};

TEST_F(BinaryHeaderTest, ReadsTheBlockAtHeaderSizeAndKeepsBytesPastTheEnd) {
  std::string bytes(10, 'a');
  bytes += "0123";
  testsupport::writeFile(dir.path() / "P.DAT", bytes);
  verifier.binaryHeader.fill(7);
  verifier.headerSize = 10;
  EXPECT_EQ(verifier.readBinaryHeader(dir.file("P.DAT")), 0);
  EXPECT_EQ(verifier.binaryHeader[0], '0');
  EXPECT_EQ(verifier.binaryHeader[3], '3');
  EXPECT_EQ(verifier.binaryHeader[4], 7);
}

TEST_F(BinaryHeaderTest, FailuresLeaveTheBlockUnchanged) {
  testsupport::writeFile(dir.path() / "P.DAT", "abc");
  verifier.binaryHeader.fill(7);
  verifier.headerSize = -1;
  EXPECT_EQ(verifier.readBinaryHeader(dir.file("P.DAT")), -2);
  verifier.headerSize = 3;
  EXPECT_EQ(verifier.readBinaryHeader(dir.file("P.DAT")), 0);
  EXPECT_EQ(verifier.readBinaryHeader(dir.file("missing")), -1);
  EXPECT_EQ(verifier.binaryHeader[0], 7);
}

}  // namespace
