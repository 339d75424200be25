#include "verify/data_file_header.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/verifier_fixture.h"
#include "verify/data_file_bytes.h"

namespace verify {

namespace {

using datagen::DataFile;
using Numbers = std::vector<int32_t>;

TEST(ReadChannelList, SplitsAtCommasAndKeepsTheLowEightBitsOfEachNumber) {
  const std::vector<std::pair<std::string, Numbers>> cases = {
      {"1,2,3", {1, 2, 3}},    {"", {0}},
      {"4,5,", {4, 5, 0}},     {"7,,x", {7, 0, 0}},
      {"4, 5,  6", {4, 5, 6}}, {"200,-1,256,127,-129", {-56, -1, 0, 127, 127}},
  };
  for (const auto& [text, numbers] : cases) {
    FileHeaderValues values;
    readChannelList(text, values);
    EXPECT_EQ(values.channelListCount, static_cast<int32_t>(numbers.size())) << text;
    EXPECT_EQ(
        Numbers(values.channelNumbers.begin(), values.channelNumbers.begin() + numbers.size()),
        numbers)
        << text;
  }
}

TEST(CountRecords, WholeRecordsFromTheDataOffsetIn32Bits) {
  FileHeaderValues values;
  values.recordSeconds = 1;
  values.channelRates[0] = 100;
  values.streamChannels = 3;  // 856-byte records
  values.dataOffset = 1000;
  EXPECT_EQ(countRecords(10000, values), 10);
  EXPECT_EQ(countRecords(1000 + 855, values), 0);
  EXPECT_EQ(countRecords(1000 + 856, values), 1);
  EXPECT_EQ(countRecords(500, values), 0);     // short by less than a record
  EXPECT_EQ(countRecords(-1000, values), -2);  // short by more than a record
  values.recordSeconds = -1;
  EXPECT_EQ(countRecords(5000, values), 0);  // no positive record size
  values.recordSeconds = 65536;
  values.channelRates[0] = 65536;  // the size wraps to 256
  values.dataOffset = 0;
  EXPECT_EQ(countRecords(512, values), 2);
}

// A default data file with some keys set: {section, key, value} each.
DataFile withKeys(std::initializer_list<std::array<const char*, 3>> keys) {
  DataFile file;
  for (const auto& [section, key, value] : keys) file.set(section, key, value);
  return file;
}

class HeaderReadTest : public VerifierTest {
 protected:
  const FileHeaderValues& verify(const DataFile& file) {
    verifier.verifyFile(write("P1.DAT", file));
    return verifier.header();
  }
  Numbers rates(const DataFile& file, int32_t channels = 3) {
    const FileHeaderValues& values = verify(file);
    return Numbers(values.channelRates.begin(), values.channelRates.begin() + channels);
  }
};

TEST_F(HeaderReadTest, ChannelNamesComeFromTheSectionsOfTheListedNumbers) {
  verify(withKeys({{"STREAM1", "CH#", "200,2,3"},
                   {"CH-56", "NAME", "WRAPPED"},
                   {"CH2", "NAME", "VERTICAL-SEISMOMETER"}}));
  EXPECT_EQ(verifier.header().channelNames[0].view(), "WRAPPED");
  EXPECT_EQ(verifier.header().channelNames[1].view(), "VERTICAL-S");
}

TEST_F(HeaderReadTest, GroupRatesGoToListedChannelsAndTheFirstGroupDecides) {
  EXPECT_EQ(rates(withKeys({{"SYSTEM", "N_GROUP", "3"},
                            {"GROUP1", "CH#", "2"},
                            {"GROUP2", "FREQ", "50"},
                            {"GROUP2", "CH#", "1,2"},
                            {"GROUP3", "CH#", "9"}})),
            (Numbers{50, 10, -1}));
  EXPECT_EQ(rates(DataFile().remove("GROUP1", "FREQ")), (Numbers{-10, -10, -10}));
  EXPECT_EQ(rates(DataFile().remove("SYSTEM", "N_GROUP")), (Numbers{-1, -1, -1}));
  // An absent GROUP2 reads FREQ -10 with the list "" (channel 0).
  EXPECT_EQ(
      rates(withKeys(
          {{"SYSTEM", "N_GROUP", "2"}, {"STREAM1", "CH#", "0,2,3"}, {"GROUP1", "CH#", "2,3"}})),
      (Numbers{-10, 10, 10}));
  // A huge group count costs only the groups present.
  EXPECT_EQ(rates(withKeys({{"SYSTEM", "N_GROUP", "2000000000"},
                            {"STREAM1", "CH#", "0,2,3"},
                            {"GROUP1", "CH#", "3"},
                            {"GROUP1999999999", "FREQ", "77"},
                            {"GROUP1999999999", "CH#", "2"}})),
            (Numbers{-10, 77, 10}));
  // The largest group number is a group like any other.
  EXPECT_EQ(rates(withKeys({{"SYSTEM", "N_GROUP", "2147483647"},
                            {"STREAM1", "CH#", "0,2,3"},
                            {"GROUP1", "CH#", "3"},
                            {"GROUP2147483647", "FREQ", "5"},
                            {"GROUP2147483647", "CH#", "2"}})),
            (Numbers{-10, 5, 10}));
}

// Only the stream's own channels take rates: a listed channel past N_CH keeps
// the rate the file before gave it.
TEST_F(HeaderReadTest, RatesGoOnlyToTheStreamsChannels) {
  EXPECT_EQ(rates(withKeys({{"GROUP1", "CH#", "1,2"}})), (Numbers{10, 10, -1}));
  EXPECT_EQ(rates(withKeys({{"STREAM1", "N_CH", "2"}})), (Numbers{10, 10, -1}));
}

TEST_F(HeaderReadTest, ChannelCountsBeyondTheArraysAreKeptWithin) {
  std::string list = "1";
  for (int i = 1; i < 40; ++i) list += "," + std::to_string(i % 9 + 1);
  EXPECT_EQ(rates(DataFile()
                      .set("STREAM1", "N_CH", "40")
                      .set("STREAM1", "CH#", list)
                      .set("GROUP1", "CH#", "1,2,3,4,5,6,7,8,9"),
                  32),
            Numbers(32, 10));
  EXPECT_EQ(verifier.counters().warningCount, 0);  // all 40 listed channels are counted
  verify(DataFile().set("STREAM1", "N_CH", "0").recordSize(256).records(4));
  EXPECT_EQ(verifier.header().channelRates[0], 10);  // kept from the file before
  // No channel: records of 256 bytes, whatever rate the first channel kept.
  EXPECT_EQ(verifier.header().recordCount, 4);
}

TEST_F(HeaderReadTest, BinaryBlockIsReadAtHeaderSizeAndBytesPastTheEndKeepTheirValue) {
  const auto block = [&] {
    return std::string(verifier.header().binaryHeader.begin(),
                       verifier.header().binaryHeader.begin() + 5);
  };
  verifier.verifyFile(put("P.DAT", "[HEADER]\nHEADER_SIZE=0\nabcdefgh"));
  EXPECT_EQ(block(), "[HEAD");
  verifier.verifyFile(put("P.DAT", "[HEADER]\nHEADER_SIZE=-1\n0123"));
  EXPECT_EQ(block(), "[HEAD");
  verifier.verifyFile(put("P.DAT", "[HEADER]\nHEADER_SIZE=24\n0123"));
  EXPECT_EQ(block(), "0123D");
}

TEST(BytesVerificationReads, BinaryBlockAtTheHeaderSizeAndTheLastTwoBytesCutToTheFile) {
  using Ranges = std::vector<base::ByteRange>;
  const std::string text = std::string("[HEADER]\nHEADER_SIZE=24\n") + '\0';
  const auto posix = profile::ProfileDialect::kPosix;
  EXPECT_EQ(bytesVerificationReads(text, 5000, posix), (Ranges{{24, 1096}, {4998, 2}}));
  EXPECT_EQ(bytesVerificationReads(text, 30, posix), (Ranges{{24, 6}, {28, 2}}));
  EXPECT_EQ(bytesVerificationReads(text, 24, posix), (Ranges{{22, 2}}));
  EXPECT_EQ(bytesVerificationReads("[HEADER]\nHEADER_SIZE=-1", 1, posix), Ranges{});
}

}  // namespace

}  // namespace verify
