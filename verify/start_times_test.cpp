#include <gtest/gtest.h>

#include "tests/support/verifier_fixture.h"

namespace {

using datagen::DataFile;
using Call = RecordingSink::Call;

class StartTimesTest : public VerifierTest {
 protected:
  // Verifies file, keeping only the messages of the clock checks.
  void read(const DataFile& file) {
    log.calls.clear();
    verifier.verifyFile(write("P1.DAT", file));
    std::erase_if(log.calls, [](const Call& call) { return call.level == LOG_INFO; });
  }
  DataFile stamps(const std::string& dateInt, const std::string& timeInt,
                  const std::string& dateExt, const std::string& timeExt) {
    return DataFile()
        .set("FILE", "DATE_INT", dateInt)
        .set("FILE", "TIME_INT", timeInt)
        .set("FILE", "DATE_EXT", dateExt)
        .set("FILE", "TIME_EXT", timeExt);
  }
};

TEST_F(StartTimesTest, ClocksOneSecondApartGiveNoMessage) {
  read(stamps("01-02-2006", "10:00:01.00", "01-02-2006", "10:00:00"));
  EXPECT_EQ(verifier.header.startInternal, 1138788001);
  EXPECT_EQ(verifier.header.startExternal, 1138788000);
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(StartTimesTest, DisagreeingClocksWarnWithInternalAndExternalPlusOne) {
  read(stamps("01-02-2006", "10:00:01.00", "01-02-2006", "10:00:01"));
  EXPECT_EQ(log.calls, (std::vector<Call>{{LOG_WARNING, 0,
                                           "Possible time unsyncronysation int: 1138788001 ext: "
                                           "1138788002",
                                           "disk/P1.DAT"}}));
  EXPECT_EQ(verifier.counters.warningCount, 1);
}

TEST_F(StartTimesTest, StartHundredthsAreAnError) {
  read(stamps("01-02-2006", "10:00:01.25", "01-02-2006", "10:00:00"));
  EXPECT_EQ(verifier.header.startHundredths, 25);
  EXPECT_EQ(log.calls,
            (std::vector<Call>{{LOG_ERROR, 0, "time start error. Hund: 25", "disk/P1.DAT"}}));
  EXPECT_EQ(verifier.counters.errorCount, 1);
}

TEST_F(StartTimesTest, HundredthsAreTheNumberAfterThePoint) {
  read(stamps("01-02-2006", "10:00:01.5", "01-02-2006", "10:00:00"));
  EXPECT_EQ(verifier.header.startHundredths, 5);
  EXPECT_EQ(verifier.header.startInternal, 1138788001);  // never rounded up
  read(stamps("01-02-2006", "10:00:01", "01-02-2006", "10:00:00"));
  EXPECT_EQ(verifier.header.startHundredths, 0);
}

TEST_F(StartTimesTest, WarningComesBeforeTheError) {
  read(stamps("01-02-2006", "10:00:05.99", "01-02-2006", "10:00:00"));
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0].level, LOG_WARNING);
  EXPECT_EQ(log.calls[1].message, "time start error. Hund: 99");
}

TEST_F(StartTimesTest, TwoDigitOrYearFirstDatesGiveZero) {
  read(stamps("1-2-06", "10:00:01", "2006-02-01", "10:00:00"));
  EXPECT_EQ(verifier.header.startInternal, 0);
  EXPECT_EQ(verifier.header.startExternal, 0);
}

TEST_F(StartTimesTest, MissingKeysGiveZeroAndTheWarningShowsExtOne) {
  read(DataFile()
           .remove("FILE", "DATE_INT")
           .remove("FILE", "TIME_INT")
           .remove("FILE", "DATE_EXT")
           .remove("FILE", "TIME_EXT"));
  EXPECT_EQ(log.calls[0].message, "Possible time unsyncronysation int: 0 ext: 1");
}

TEST_F(StartTimesTest, MissingTimeWithADateGivesMidnight) {
  read(DataFile().set("FILE", "DATE_EXT", "01-02-2006").remove("FILE", "TIME_EXT"));
  EXPECT_EQ(verifier.header.startExternal, 1138752000);
}

TEST_F(StartTimesTest, DosStampIsStoredWhateverItHolds) {
  read(DataFile().set("FILE", "DATE_DOS", "02-02-2006").set("FILE", "TIME_DOS", "00:00:10"));
  EXPECT_EQ(verifier.header.startDos, 1138838410);
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(StartTimesTest, OutOfRangeNumbersAreCutToTheFieldWidths) {
  read(stamps("01-300-2006", "10:00:01", "01-02-67542",
              "300:00:00"));  // month 44, year 2006, hour 44
  EXPECT_EQ(verifier.header.startExternal, 1138752000 + 44 * 3600);
}

}  // namespace
