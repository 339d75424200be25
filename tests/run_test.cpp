// Whole runs over crafted disks, pinned byte for byte: these are the files
// operators and their scripts read.

#include "base/text_format.h"
#include "tests/run_test_fixture.h"

namespace {

using datagen::DataFile;

constexpr int32_t kJune15Noon = 1150372800;   // 15-06-2006 12:00:00
constexpr int32_t kJune16Eight = 1150444800;  // 16-06-2006 08:00:00

const std::string kEmptyReport =
    "    station  \r\n"
    "    station  \r\n"
    "     Latitude:    Longitude:    Altitude: \r\n"
    "     Latitude:    Longitude:    Altitude: \r\n"
    "    Data from 01/01/1970 00:00:00    (1970-01-01)\r\n"
    "    Data from 01/01/1970 00:00:00    (1970-01-01)\r\n"
    "    To        01/01/1970 00:00:00    (1970-01-01)\r\n"
    "    To        01/01/1970 00:00:00    (1970-01-01)\r\n"
    "    0d 0h 0m 0s\r\n"
    "    0d 0h 0m 0s\r\n"
    "     Real Data 0d 0h 0m 0s\r\n"
    "     Real Data 0d 0h 0m 0s\r\n";

std::string summary(const std::string& disk, int directories, int files, int errors, int warnings) {
  return formatText(
      "    VELK CD-archive verification program v.1.1 \n\r\n"
      "    Summary for disk %s operation \n\r\n"
      "     directories: %d \n\r\n"
      "     files: %d \n\r\n"
      "     errors: %d \n\r\n"
      "     warnings: %d \n\r\n",
      disk.c_str(), directories, files, errors, warnings);
}

TEST_F(RunTest, NoArgumentsAndNoDiskWriteStartSummaryAndEmptyReport) {
  EXPECT_EQ(run({}), "Data:\n");
  EXPECT_EQ(logFile("log.out"),
            "    Start to operate disk\r\n"
            "    g\r\n"
            "    VELK CD-archive verification program v.1.1 \n\r\n"
            "    Summary for disk g operation \n\r\n"
            "     directories: 0 \n\r\n"
            "     files: 0 \n\r\n"
            "     errors: 0 \n\r\n"
            "     warnings: 0 \n\r\n" +
                kEmptyReport);
}

TEST_F(RunTest, SecondRunAppendsToTheLog) {
  run({});
  const std::string first = logFile("log.out");
  run({});
  EXPECT_EQ(logFile("log.out"), first + first);
}

// A small disk in the subdir layout: a good file, a latitude change, an empty
// file, a trigger file and decoys, then, the next day, a file with bad clocks
// whose latitude is the first one again.
class SubdirDiskTest : public RunTest {
 protected:
  SubdirDiskTest() {
    put("20060615", "P0615001.DAT", DataFile().startingAt(kJune15Noon));
    put("20060615", "P0615002.DAT",
        DataFile().startingAt(kJune15Noon + 60).set("SYSTEM", "LAT", "50.0000N"));
    put("20060615", "T0615001.DAT", DataFile().startingAt(kJune15Noon + 30));
    testsupport::writeFile(disk.directory() / "20060615" / "P0615003.DAT", "");
    put("20060616", "P0616001.DAT",
        DataFile().startingAt(kJune16Eight).set("FILE", "TIME_INT", "08:00:05.25"));
    put("", "P0000001.DAT", DataFile());
    put("2006-06-17", "P0617001.DAT", DataFile());
  }

  // The report of this disk, each line once.
  static constexpr const char* kReport =
      "    station VELK \r\n"
      "     Latitude: 49.1234N   Longitude: 16.5678E   Altitude: 300\r\n"
      "    Data from 15/06/2006 12:00:01    (2006-06-15)\r\n"
      "    To        16/06/2006 08:01:05    (2006-06-16)\r\n"
      "    0d 20h 1m 4s\r\n"
      "     Real Data 0d 0h 3m 0s\r\n"
      "     [15/06/2006 12:00:01  -  15/06/2006 12:02:01]         2m 0s\r\n"
      "     [16/06/2006 08:00:05  -  16/06/2006 08:01:05]         1m 0s\r\n";
};

TEST_F(SubdirDiskTest, DefaultLogHoldsEveryLineInOrder) {
  EXPECT_EQ(run({"-archDisk=" + disk.setting()}), "Data:\n");
  EXPECT_EQ(logFile("log.out"),
            expand("    Start to operate disk\r\n"
                   "    {disk}\r\n"
                   "     Directory 20060615\r\n"
                   "     File {path:20060615/P0615001.DAT}\r\n"
                   "     File {path:20060615/P0615002.DAT}\r\n"
                   "{path:20060615/P0615002.DAT} Latitude 50.0000N differ from previous file's "
                   "latitude 49.1234N\r\n"
                   "     File {path:20060615/P0615003.DAT}\r\n"
                   "     File {path:20060615/P0615003.DAT} is unusable\r\n"
                   "     Directory 20060616\r\n"
                   "     File {path:20060616/P0616001.DAT}\r\n"
                   "{path:20060616/P0616001.DAT} Latitude 49.1234N differ from previous file's "
                   "latitude 50.0000N\r\n"
                   "{path:20060616/P0616001.DAT} Possible time unsyncronysation int: 1150444805 "
                   "ext: 1150444801\r\n"
                   "{path:20060616/P0616001.DAT} time start error. Hund: 25\r\n"
                   "    VELK CD-archive verification program v.1.1 \n\r\n"
                   "    Summary for disk {disk} operation \n\r\n"
                   "     directories: 2 \n\r\n"
                   "     files: 4 \n\r\n"
                   "     errors: 2 \n\r\n"
                   "     warnings: 3 \n\r\n"
                   "    station VELK \r\n"
                   "    station VELK \r\n"
                   "     Latitude: 49.1234N   Longitude: 16.5678E   Altitude: 300\r\n"
                   "     Latitude: 49.1234N   Longitude: 16.5678E   Altitude: 300\r\n"
                   "    Data from 15/06/2006 12:00:01    (2006-06-15)\r\n"
                   "    Data from 15/06/2006 12:00:01    (2006-06-15)\r\n"
                   "    To        16/06/2006 08:01:05    (2006-06-16)\r\n"
                   "    To        16/06/2006 08:01:05    (2006-06-16)\r\n"
                   "    0d 20h 1m 4s\r\n"
                   "    0d 20h 1m 4s\r\n"
                   "     Real Data 0d 0h 3m 0s\r\n"
                   "     Real Data 0d 0h 3m 0s\r\n"
                   "     [15/06/2006 12:00:01  -  15/06/2006 12:02:01]         2m 0s\r\n"
                   "     [15/06/2006 12:00:01  -  15/06/2006 12:02:01]         2m 0s\r\n"
                   "     [16/06/2006 08:00:05  -  16/06/2006 08:01:05]         1m 0s\r\n"
                   "     [16/06/2006 08:00:05  -  16/06/2006 08:01:05]         1m 0s\r\n"));
}

TEST_F(SubdirDiskTest, FourLogNamesSplitTheLinesByLevel) {
  run({"-archDisk=" + disk.setting(), "-fNameInfo=info.log", "-fNameWarning=warning.log",
       "-fNameError=error.log", "-fNameSummary=summary.log"});
  EXPECT_EQ(logFile("info.log"), expand("    Start to operate disk\r\n"
                                        "    {disk}\r\n"
                                        "     Directory 20060615\r\n"
                                        "     File {path:20060615/P0615001.DAT}\r\n"
                                        "     File {path:20060615/P0615002.DAT}\r\n"
                                        "     File {path:20060615/P0615003.DAT}\r\n"
                                        "     Directory 20060616\r\n"
                                        "     File {path:20060616/P0616001.DAT}\r\n") +
                                     kReport);
  EXPECT_EQ(logFile("warning.log"), expand("{path:20060615/P0615002.DAT} Latitude 50.0000N differ "
                                           "from previous file's latitude 49.1234N\r\n"
                                           "{path:20060616/P0616001.DAT} Latitude 49.1234N differ "
                                           "from previous file's latitude 50.0000N\r\n"
                                           "{path:20060616/P0616001.DAT} Possible time "
                                           "unsyncronysation int: 1150444805 ext: 1150444801\r\n"));
  EXPECT_EQ(logFile("error.log"),
            expand("     File {path:20060615/P0615003.DAT} is unusable\r\n"
                   "{path:20060616/P0616001.DAT} time start error. Hund: 25\r\n"));
  EXPECT_EQ(logFile("summary.log"), summary(disk.setting(), 2, 4, 2, 3) + kReport);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "log.out"));
}

TEST_F(SubdirDiskTest, TriggerStreamVerifiesOnlyTheOtherFiles) {
  run({"-archDisk=" + disk.setting(), "-stream=trigger", "-fNameInfo=info.log"});
  EXPECT_EQ(logFile("info.log")
                .find(expand("    Start to operate disk\r\n"
                             "    {disk}\r\n"
                             "     Directory 20060615\r\n"
                             "     File {path:20060615/T0615001.DAT}\r\n"
                             "     Directory 20060616\r\n"
                             "    station VELK \r\n")),
            0u);
  EXPECT_NE(logFile("log.out").find("     files: 1 \n"), std::string::npos);
}

TEST_F(SubdirDiskTest, ExtensionPatternSelectsFiles) {
  put("20060615", "P0615009.XYZ", DataFile().startingAt(kJune15Noon + 1000));
  run({"-archDisk=" + disk.setting(), "-fileExt=XYZ", "-fNameInfo=info.log"});
  EXPECT_NE(logFile("info.log").find(expand("     File {path:20060615/P0615009.XYZ}\r\n")),
            std::string::npos);
  EXPECT_NE(logFile("log.out").find("     files: 1 \n"), std::string::npos);
}

TEST_F(RunTest, PlaneModeVerifiesTheRootFilesOnly) {
  put("", "P0615001.DAT", DataFile().startingAt(kJune15Noon));
  put("", "p0615002.DAT", DataFile().startingAt(kJune15Noon + 60));
  put("", ".P0615003.DAT", DataFile().startingAt(kJune15Noon + 120));
  put("20060615", "P0615004.DAT", DataFile().startingAt(kJune15Noon + 180));
  run({"-archDisk=" + disk.setting(), "-mode=plane"});
  EXPECT_EQ(logFile("log.out"),
            expand("    Start to operate disk\r\n"
                   "    {disk}\r\n"
                   "     File {path:P0615001.DAT}\r\n"
                   "     File {path:p0615002.DAT}\r\n"
                   "    VELK CD-archive verification program v.1.1 \n\r\n"
                   "    Summary for disk {disk} operation \n\r\n"
                   "     directories: 0 \n\r\n"
                   "     files: 2 \n\r\n"
                   "     errors: 0 \n\r\n"
                   "     warnings: 0 \n\r\n"
                   "    station VELK \r\n"
                   "    station VELK \r\n"
                   "     Latitude: 49.1234N   Longitude: 16.5678E   Altitude: 300\r\n"
                   "     Latitude: 49.1234N   Longitude: 16.5678E   Altitude: 300\r\n"
                   "    Data from 15/06/2006 12:00:01    (2006-06-15)\r\n"
                   "    Data from 15/06/2006 12:00:01    (2006-06-15)\r\n"
                   "    To        15/06/2006 12:02:01    (2006-06-15)\r\n"
                   "    To        15/06/2006 12:02:01    (2006-06-15)\r\n"
                   "    0d 0h 2m 0s\r\n"
                   "    0d 0h 2m 0s\r\n"
                   "     Real Data 0d 0h 2m 0s\r\n"
                   "     Real Data 0d 0h 2m 0s\r\n"
                   "     [15/06/2006 12:00:01  -  15/06/2006 12:02:01]         2m 0s\r\n"
                   "     [15/06/2006 12:00:01  -  15/06/2006 12:02:01]         2m 0s\r\n"));
}

TEST_F(RunTest, IntervalsArriveInWalkOrderAndAreReportedSorted) {
  put("20060616", "P0616001.DAT", DataFile().startingAt(kJune16Eight));
  put("20060615", "P0615001.DAT", DataFile().startingAt(kJune16Eight + 3600));
  put("20060615", "P0615002.DAT", DataFile().startingAt(kJune15Noon));
  run({"-archDisk=" + disk.setting(), "-fNameInfo=info.log"});
  EXPECT_NE(logFile("info.log")
                .find("     [15/06/2006 12:00:01  -  15/06/2006 12:01:01]         1m 0s\r\n"
                      "     [16/06/2006 08:00:01  -  16/06/2006 08:01:01]         1m 0s\r\n"
                      "     [16/06/2006 09:00:01  -  16/06/2006 09:01:01]         1m 0s\r\n"),
            std::string::npos);
}

TEST_F(RunTest, LogInAMissingDirectoryIsLostAndTheRunGoesOn) {
  put("20060615", "P0615001.DAT", DataFile().set("SYSTEM", "LAT", "x"));
  put("20060615", "P0615002.DAT", DataFile());
  EXPECT_EQ(run({"-archDisk=" + disk.setting(), "-fNameWarning=missing/warning.log"}), "Data:\n");
  EXPECT_NE(logFile("log.out").find("     warnings: 1 \n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST_F(RunTest, EmptyDiskSettingFindsNothing) {
  EXPECT_EQ(run({"-archDisk="}), "Data:\n");
  EXPECT_EQ(logFile("log.out"),
            "    Start to operate disk\r\n"
            "    \r\n" +
                summary("", 0, 0, 0, 0) + kEmptyReport);
}

TEST_F(RunTest, LongDiskSettingIsWrittenWhole) {
  const std::string longDisk = "no-such-disk-with-a-long-name";
  run({"-archDisk=" + longDisk});
  EXPECT_EQ(logFile("log.out").find("    Start to operate disk\r\n    " + longDisk + "\r\n" +
                                    summary(longDisk, 0, 0, 0, 0)),
            0u);
}

}  // namespace
