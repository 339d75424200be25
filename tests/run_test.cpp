// Whole runs over crafted disks, their logs pinned byte for byte against the
// files in tests/expected/: these are the files operators and their scripts read.

#include "tests/run_test_fixture.h"

namespace {

using datagen::DataFile;

constexpr int32_t kJune15Noon = 1150372800;   // 15-06-2006 12:00:00
constexpr int32_t kJune16Eight = 1150444800;  // 16-06-2006 08:00:00

TEST_F(RunTest, NoArgumentsAndNoDiskWriteStartSummaryAndEmptyReport) {
  EXPECT_EQ(run({}), "Data:\n");
  EXPECT_EQ(errors, "cdverify: disk g: no such disk or folder\n");
  expectLog("log.out", "no_disk.log", "g");
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
  expectLog("trigger.log", "subdir_trigger_info.log");
  expectLog("xyz.log", "subdir_xyz_info.log");
}

// A disk read whole that holds no file of the stream asked for is said on
// standard error, as a missing disk is; standard output and the exit status
// stay as they are.
TEST_F(SubdirDiskTest, NoDataFileOfTheStreamIsSaidOnStandardError) {
  const std::string told = "cdverify: disk " + disk.setting() + ": no data file of ";
  const struct {
    std::vector<std::string> options;
    std::string said;
  } cases[] = {
      {{"-firstbyte=Q"}, told + "stream Q found\n"},
      {{"-fileExt=XYZ"}, told + "stream P found\n"},
      {{"-firstbyte=Q", "-stream=trigger", "-fileExt=XYZ"}, told + "the trigger stream found\n"},
      {{}, ""},
      {{"-stream=trigger"}, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.push_back("-archDisk=" + disk.setting());
    EXPECT_EQ(run(arguments), "Data:\n");
    EXPECT_EQ(errors, c.said);
  }
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
  expectLog("info.log", "walk_order_info.log");
}

// "-=DAT" sets every option to DAT: the disk DAT is not there, so the four
// logs, all named DAT, are one file written as the default log is.
TEST_F(RunTest, ALogNamedAsADiskThatIsNotThereIsWritten) {
  EXPECT_EQ(run({"-=DAT"}), "Data:\n");
  EXPECT_EQ(errors, "cdverify: disk DAT: no such disk or folder\n");
  expectLog("DAT", "no_disk.log", "DAT");
}

TEST_F(RunTest, EmptyAndLongDiskSettingsAreWrittenWholeAndFindNothing) {
  for (const std::string setting : {"", "no-such-disk-with-a-long-name"}) {
    std::filesystem::remove(dir.path() / "log.out");
    EXPECT_EQ(run({"-archDisk=" + setting}), "Data:\n");
    expectLog("log.out", "no_disk.log", setting.c_str());
    EXPECT_NE(errors.find("cdverify: disk " + setting + ": no "), std::string::npos) << errors;
  }
}

}  // namespace
