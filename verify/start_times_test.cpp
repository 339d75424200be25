#include <gtest/gtest.h>

#include "tests/support/verifier_fixture.h"

namespace verify {

namespace {

using datagen::DataFile;
using Call = RecordingSink::Call;

class StartTimesTest : public VerifierTest {
 protected:
  // Verifies a file with these stamps, keeping only the clock checks' messages.
  const FileHeaderValues& read(const std::string& dateInt, const std::string& timeInt,
                               const std::string& dateExt, const std::string& timeExt) {
    return read(DataFile()
                    .set("FILE", "DATE_INT", dateInt)
                    .set("FILE", "TIME_INT", timeInt)
                    .set("FILE", "DATE_EXT", dateExt)
                    .set("FILE", "TIME_EXT", timeExt));
  }
  const FileHeaderValues& read(const DataFile& file) {
    log.calls.clear();
    verifier.verifyFile(write("P1.DAT", file));
    std::erase_if(log.calls, [](const Call& call) { return call.level == logging::LOG_INFO; });
    return verifier.header();
  }
};

TEST_F(StartTimesTest, StampsAsScanned) {
  EXPECT_EQ(read("01-02-2006", "10:00:01.5", "01-02-2006", "10:00:00").startHundredths, 5);
  EXPECT_EQ(read("01-02-2006", "10:00:01", "01-02-2006", "10:00:00").startHundredths, 0);
  EXPECT_EQ(read("1-2-06", "10:00:01", "2006-02-01", "10:00:00").startInternal, 0);
  // Out-of-range numbers are cut to the fields: month 44, year 2006, hour 44.
  EXPECT_EQ(read("01-300-2006", "10:00:01", "01-02-67542", "300:00:00").startExternal,
            1138752000 + 44 * 3600);
  EXPECT_EQ(read(DataFile().set("FILE", "DATE_EXT", "01-02-2006").remove("FILE", "TIME_EXT"))
                .startExternal,
            1138752000);  // no time: midnight
  EXPECT_EQ(
      read(DataFile().set("FILE", "DATE_DOS", "02-02-2006").set("FILE", "TIME_DOS", "00:00:10"))
          .startDos,
      1138838410);
}

TEST_F(StartTimesTest, MissingStampsGiveZeroAndTheWarningShowsExtOne) {
  read(DataFile()
           .remove("FILE", "DATE_INT")
           .remove("FILE", "TIME_INT")
           .remove("FILE", "DATE_EXT")
           .remove("FILE", "TIME_EXT"));
  EXPECT_EQ(log.calls[0].message, "Possible time unsyncronysation int: 0 ext: 1");
}

}  // namespace

}  // namespace verify
