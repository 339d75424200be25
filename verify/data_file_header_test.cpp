#include <gtest/gtest.h>

#include "verify/data_file_header.h"

#include "tests/support/verifier_fixture.h"

namespace {

using datagen::DataFile;

class ChannelListTest : public ::testing::Test {
 protected:
  FileHeaderValues values;
};

TEST_F(ChannelListTest, SplitsNumbersAtCommas) {
  readChannelList("1,2,3", values);
  EXPECT_EQ(values.channelListCount, 3);
  EXPECT_EQ(values.channelNumbers[0], 1);
  EXPECT_EQ(values.channelNumbers[2], 3);
}

TEST_F(ChannelListTest, EmptyEntriesCountAndReadZero) {
  readChannelList("", values);
  EXPECT_EQ(values.channelListCount, 1);
  EXPECT_EQ(values.channelNumbers[0], 0);
  readChannelList("4,5,", values);
  EXPECT_EQ(values.channelListCount, 3);
  EXPECT_EQ(values.channelNumbers[2], 0);
  readChannelList("7,,x", values);
  EXPECT_EQ(values.channelListCount, 3);
  EXPECT_EQ(values.channelNumbers[1], 0);
  EXPECT_EQ(values.channelNumbers[2], 0);
}

TEST_F(ChannelListTest, BlanksBeforeAnEntryAreSkipped) {
  readChannelList("4, 5,  6", values);
  EXPECT_EQ(values.channelNumbers[1], 5);
  EXPECT_EQ(values.channelNumbers[2], 6);
}

TEST_F(ChannelListTest, NumbersAreKeptAsTheirLowEightBitsSigned) {
  readChannelList("200,-1,256,127,-129", values);
  EXPECT_EQ(values.channelNumbers[0], -56);
  EXPECT_EQ(values.channelNumbers[1], -1);
  EXPECT_EQ(values.channelNumbers[2], 0);
  EXPECT_EQ(values.channelNumbers[3], 127);
  EXPECT_EQ(values.channelNumbers[4], 127);
}

TEST_F(ChannelListTest, MoreThanThirtyTwoEntriesAreCountedButNotStored) {
  std::string list = "9";
  for (int i = 1; i < 40; ++i) list += "," + std::to_string(i);
  readChannelList(list, values);
  EXPECT_EQ(values.channelListCount, 40);
  EXPECT_EQ(values.channelNumbers[31], 31);
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
  EXPECT_EQ(verifier.header.channelNames[0].view(), "WRAPPED");
  EXPECT_EQ(verifier.header.channelRates[0], 10);
}

TEST_F(HeaderReadTest, ChannelNameFillsItsTenCharacters) {
  verify(DataFile().set("CH1", "NAME", "VERTICAL-SEISMOMETER"));
  EXPECT_EQ(verifier.header.channelNames[0].view(), "VERTICAL-S");
}

TEST_F(HeaderReadTest, FirstGroupGivingAChannelARateDecides) {
  verify(DataFile()
             .set("SYSTEM", "N_GROUP", "3")
             .set("GROUP1", "CH#", "2")
             .set("GROUP2", "FREQ", "50")
             .set("GROUP2", "CH#", "1,2")
             .set("GROUP3", "CH#", "9"));
  EXPECT_EQ(verifier.header.channelRates[0], 50);
  EXPECT_EQ(verifier.header.channelRates[1], 10);
  EXPECT_EQ(verifier.header.channelRates[2], -1);
}

TEST_F(HeaderReadTest, GroupWithoutFreqGivesMinusTen) {
  verify(DataFile().remove("GROUP1", "FREQ"));
  EXPECT_EQ(verifier.header.channelRates[0], -10);
}

TEST_F(HeaderReadTest, NoGroupsLeaveEveryRateAtMinusOne) {
  verify(DataFile().remove("SYSTEM", "N_GROUP"));
  EXPECT_EQ(verifier.header.groupCount, -1);
  EXPECT_EQ(verifier.header.channelRates[0], -1);
  EXPECT_EQ(verifier.header.channelRates[2], -1);
}

TEST_F(HeaderReadTest, AbsentGroupGivesChannelZeroMinusTen) {
  verify(DataFile()
             .set("SYSTEM", "N_GROUP", "2")
             .set("STREAM1", "CH#", "0,2,3")
             .set("GROUP1", "CH#", "2,3"));
  EXPECT_EQ(verifier.header.channelRates[0], -10);  // GROUP2 is absent: FREQ -10, list "" (channel 0)
  EXPECT_EQ(verifier.header.channelRates[1], 10);
}

TEST_F(HeaderReadTest, HugeGroupCountCostsOnlyTheGroupsPresent) {
  verify(DataFile()
             .set("SYSTEM", "N_GROUP", "2000000000")
             .set("STREAM1", "CH#", "0,2,3")
             .set("GROUP1", "CH#", "3")
             .set("GROUP1999999999", "FREQ", "77")
             .set("GROUP1999999999", "CH#", "2"));
  EXPECT_EQ(verifier.header.channelRates[0], -10);
  EXPECT_EQ(verifier.header.channelRates[1], 77);
  EXPECT_EQ(verifier.header.channelRates[2], 10);
}

TEST_F(HeaderReadTest, StreamOfMoreThanThirtyTwoChannelsUsesTheFirstThirtyTwo) {
  std::string list = "1";
  for (int i = 1; i < 40; ++i) list += "," + std::to_string(i % 9 + 1);
  verify(DataFile()
             .set("STREAM1", "N_CH", "40")
             .set("STREAM1", "CH#", list)
             .set("GROUP1", "CH#", "1,2,3,4,5,6,7,8,9"));
  EXPECT_EQ(verifier.header.channelListCount, 40);
  EXPECT_EQ(verifier.header.channelRates[31], 10);
}

TEST_F(HeaderReadTest, ZeroChannelsChangeNoArrayAndGiveRecordsOf256Bytes) {
  verifier.header.channelRates[0] = 1234;
  verify(DataFile().set("STREAM1", "N_CH", "0").recordSize(256).records(4));
  EXPECT_EQ(verifier.header.channelRates[0], 1234);
  EXPECT_EQ(verifier.header.recordCount, 4);
}

class CountRecordsTest : public ::testing::Test {
 protected:
  FileHeaderValues values;
};

TEST_F(CountRecordsTest, TenThousandByteExample) {
  values.recordSeconds = 1;
  values.channelRates[0] = 100;
  values.streamChannels = 3;  // 856-byte records
  values.dataOffset = 1000;
  EXPECT_EQ(countRecords(10000, values), 10);
  EXPECT_EQ(countRecords(1000 + 855, values), 0);
  EXPECT_EQ(countRecords(1000 + 856, values), 1);
  EXPECT_EQ(countRecords(500, values), 0);  // short by less than a record
  values.dataOffset = 2000;
  EXPECT_EQ(countRecords(1000, values), -1);  // short by more than a record
}

TEST_F(CountRecordsTest, NonPositiveRecordSizeGivesZero) {
  values.recordSeconds = -1;
  values.channelRates[0] = 1000;
  values.streamChannels = 1;
  EXPECT_EQ(countRecords(5000, values), 0);
  values.recordSeconds = 65536;
  values.channelRates[0] = 65536;  // the size wraps to 256
  EXPECT_EQ(countRecords(512, values), 2);
}

class BinaryHeaderTest : public VerifierTest {};

TEST_F(BinaryHeaderTest, ReadsTheBlockAtHeaderSizeAndKeepsBytesPastTheEnd) {
  verifier.header.binaryHeader.fill(7);
  verifier.verifyFile(put("P.DAT", "[HEADER]\nHEADER_SIZE=24\n0123"));
  EXPECT_EQ(verifier.header.binaryHeader[0], '0');
  EXPECT_EQ(verifier.header.binaryHeader[3], '3');
  EXPECT_EQ(verifier.header.binaryHeader[4], 7);
}

TEST_F(BinaryHeaderTest, NegativeOffsetLeavesTheBlockUnchanged) {
  verifier.header.binaryHeader.fill(7);
  verifier.verifyFile(put("P.DAT", "[HEADER]\nHEADER_SIZE=-1\n0123"));
  EXPECT_EQ(verifier.header.binaryHeader[0], 7);
}

}  // namespace
