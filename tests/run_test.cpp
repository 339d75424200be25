// Whole runs over crafted disks, their logs pinned byte for byte against the
// files in tests/expected/: these are the files operators and their scripts read.

#include "tests/run_test_fixture.h"

namespace {

using datagen::DataFile;

constexpr int32_t kJune15Noon = 1150372800;   // 15-06-2006 12:00:00
constexpr int32_t kJune16Eight = 1150444800;  // 16-06-2006 08:00:00

TEST_F(RunTest, NoArgumentsAndNoDiskWriteStartSummaryAndEmptyReport) {
  EXPECT_EQ(run({}), "Data:\n");
  expectLog("log.out", "no_disk.log");
  const std::string first = logFile("log.out");
  run({});
  EXPECT_EQ(logFile("log.out"), first + first);  // a second run appends
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
};

TEST_F(SubdirDiskTest, DefaultLogHoldsEveryLineInOrder) {
  EXPECT_EQ(run({"-archDisk=" + disk.setting()}), "Data:\n");
  expectLog("log.out", "subdir.log");
}

TEST_F(SubdirDiskTest, FourLogNamesSplitTheLinesByLevel) {
  run({"-archDisk=" + disk.setting(), "-fNameInfo=info.log", "-fNameWarning=warning.log",
       "-fNameError=error.log", "-fNameSummary=summary.log"});
  for (const char* level : {"info", "warning", "error", "summary"}) {
    expectLog(std::string(level) + ".log", "subdir_" + std::string(level) + ".log");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "log.out"));
}

TEST_F(SubdirDiskTest, StreamAndExtensionSelectTheFiles) {
  put("20060615", "P0615009.XYZ", DataFile().startingAt(kJune15Noon + 1000));
  run({"-archDisk=" + disk.setting(), "-stream=trigger", "-fNameInfo=trigger.log"});
  run({"-archDisk=" + disk.setting(), "-fileExt=XYZ", "-fNameInfo=xyz.log"});
  EXPECT_EQ(logFile("trigger.log").find(expand("    Start to operate disk\r\n    {disk}\r\n"
                                               "     Directory 20060615\r\n"
                                               "     File {path:20060615/T0615001.DAT}\r\n"
                                               "     Directory 20060616\r\n"
                                               "    station VELK \r\n")),
            0u);
  EXPECT_NE(logFile("xyz.log").find(expand("     Directory 20060615\r\n"
                                           "     File {path:20060615/P0615009.XYZ}\r\n"
                                           "     Directory 20060616\r\n")),
            std::string::npos);
}

TEST_F(RunTest, PlaneModeVerifiesTheRootFilesOnly) {
  put("", "P0615001.DAT", DataFile().startingAt(kJune15Noon));
  put("", "p0615002.DAT", DataFile().startingAt(kJune15Noon + 60));
  put("", ".P0615003.DAT", DataFile().startingAt(kJune15Noon + 120));
  put("20060615", "P0615004.DAT", DataFile().startingAt(kJune15Noon + 180));
  run({"-archDisk=" + disk.setting(), "-mode=plane"});
  expectLog("log.out", "plane.log");
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

TEST_F(RunTest, EmptyAndLongDiskSettingsAreWrittenWholeAndFindNothing) {
  const std::string longDisk = "no-such-disk-with-a-long-name";
  for (const std::string& setting : {std::string(), longDisk}) {
    std::filesystem::remove(dir.path() / "log.out");
    EXPECT_EQ(run({"-archDisk=" + setting}), "Data:\n");
    std::string expected = testsupport::readFile(std::filesystem::path(CDVERIFY_EXPECTED_DIR) /
                                                 "no_disk.log");
    for (const char* g : {"    g\r\n", "disk g operation"}) {
      std::string replacement(g);
      replacement.replace(replacement.find('g', 3), 1, setting);
      expected.replace(expected.find(g), std::string(g).size(), replacement);
    }
    EXPECT_EQ(logFile("log.out"), expected);
  }
}

}  // namespace
