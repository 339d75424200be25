#include <gtest/gtest.h>

#include "verify/verifier_test_fixture.h"

namespace {

using datagen::DataFile;
using Call = RecordingSink::Call;

class StartTimesTest : public VerifierTest {
 protected:
  void read(const DataFile& file) { verifier.readStartTimes(write("P1.DAT", file)); }
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
  verifier.checkStartTimes();
  EXPECT_EQ(verifier.startInternal, 1138788001);
  EXPECT_EQ(verifier.startExternal, 1138788000);
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(StartTimesTest, DisagreeingClocksWarnWithInternalAndExternalPlusOne) {
  verifier.currentFile = "g/P1.DAT";
  read(stamps("01-02-2006", "10:00:01.00", "01-02-2006", "10:00:01"));
  verifier.checkStartTimes();
  EXPECT_EQ(log.calls, (std::vector<Call>{{LOG_WARNING, 0,
                                           "Possible time unsyncronysation int: 1138788001 ext: "
                                           "1138788002",
                                           "g/P1.DAT"}}));
  EXPECT_EQ(verifier.warningCount, 1);
}

TEST_F(StartTimesTest, StartHundredthsAreAnError) {
  verifier.currentFile = "g/P1.DAT";
  read(stamps("01-02-2006", "10:00:01.25", "01-02-2006", "10:00:00"));
  verifier.checkStartTimes();
  EXPECT_EQ(verifier.startHundredths, 25);
  EXPECT_EQ(log.calls,
            (std::vector<Call>{{LOG_ERROR, 0, "time start error. Hund: 25", "g/P1.DAT"}}));
  EXPECT_EQ(verifier.errorCount, 1);
}

TEST_F(StartTimesTest, HundredthsAreTheNumberAfterThePoint) {
  read(stamps("01-02-2006", "10:00:01.5", "01-02-2006", "10:00:00"));
  EXPECT_EQ(verifier.startHundredths, 5);
  EXPECT_EQ(verifier.startInternal, 1138788001);  // never rounded up
  read(stamps("01-02-2006", "10:00:01", "01-02-2006", "10:00:00"));
  EXPECT_EQ(verifier.startHundredths, 0);
}

TEST_F(StartTimesTest, WarningComesBeforeTheError) {
  read(stamps("01-02-2006", "10:00:05.99", "01-02-2006", "10:00:00"));
  verifier.checkStartTimes();
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0].level, LOG_WARNING);
  EXPECT_EQ(log.calls[1].message, "time start error. Hund: 99");
}

TEST_F(StartTimesTest, TwoDigitOrYearFirstDatesGiveZero) {
  read(stamps("1-2-06", "10:00:01", "2006-02-01", "10:00:00"));
  EXPECT_EQ(verifier.startInternal, 0);
  EXPECT_EQ(verifier.startExternal, 0);
}

TEST_F(StartTimesTest, MissingKeysGiveZeroAndTheWarningShowsExtOne) {
  read(DataFile()
           .remove("FILE", "DATE_INT")
           .remove("FILE", "TIME_INT")
           .remove("FILE", "DATE_EXT")
           .remove("FILE", "TIME_EXT"));
  verifier.checkStartTimes();
  EXPECT_EQ(log.calls[0].message, "Possible time unsyncronysation int: 0 ext: 1");
}

TEST_F(StartTimesTest, MissingTimeWithADateGivesMidnight) {
  read(DataFile().set("FILE", "DATE_EXT", "01-02-2006").remove("FILE", "TIME_EXT"));
  EXPECT_EQ(verifier.startExternal, 1138752000);
}

TEST_F(StartTimesTest, DosStampIsStoredWhateverItHolds) {
  read(DataFile().set("FILE", "DATE_DOS", "02-02-2006").set("FILE", "TIME_DOS", "00:00:10"));
  EXPECT_EQ(verifier.startDos, 1138838410);
  verifier.checkStartTimes();
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(StartTimesTest, OutOfRangeNumbersAreCutToTheFieldWidths) {
  read(stamps("01-300-2006", "10:00:01", "01-02-67542",
              "300:00:00"));  // month 44, year 2006, hour 44
  EXPECT_EQ(verifier.startExternal, 1138752000 + 44 * 3600);
}

}  // namespace
