// Disks and log and output names made to hurt: links out of the disk or into
// it, hard links, control bytes in names. Windows has none of these cases, so these tests are POSIX
// only. (A log that is a FIFO is refused without waiting for a reader: the POSIX disk's tests pin
// that.)

#include <filesystem>
#include <sstream>

#include "programs/cdcoverage/coverage_run.h"
#include "tests/run_test_fixture.h"

namespace {

namespace fs = std::filesystem;
using datagen::DataFile;

constexpr int32_t kJune15Noon = 1150372800;  // 15-06-2006 12:00:00

class HostileDiskTest : public RunTest {
 protected:
  // True when the log file holds line, a whole line.
  bool hasLine(const std::string& name, const std::string& line) const {
    return ("\r\n" + logFile(name)).find("\r\n" + line + "\r\n") != std::string::npos;
  }
};

TEST_F(HostileDiskTest, LogsLinkedOrPathedIntoTheDiskNeverWriteThere) {
  put("20060615", "P0615001.DAT", DataFile());
  const fs::path data = disk.directory() / "20060615" / "P0615001.DAT";
  const std::string before = testsupport::readFile(data);
  fs::create_symlink(data, dir.path() / "log.out");
  fs::create_symlink(disk.directory() / "20060615" / "new.log", dir.path() / "warn.log");
  run({"-archDisk=disk", "-fNameWarning=warn.log", "-fNameError=disk/err.log",
       "-fNameSummary=summary.log"});
  EXPECT_EQ(errors,
            "cdverify: log log.out lies inside the disk disk: it is not written\n"
            "cdverify: log warn.log lies inside the disk disk: it is not written\n"
            "cdverify: log disk/err.log lies inside the disk disk: it is not written\n"
            "cdverify: disk disk: no data file of stream P found\n");
  EXPECT_EQ(testsupport::readFile(data), before);
  EXPECT_FALSE(fs::exists(disk.directory() / "20060615" / "new.log"));
  EXPECT_FALSE(fs::exists(disk.directory() / "err.log"));
  // The other logs are written as ever; the data file log.out leads to counts as
  // the run's own log and is left alone.
  EXPECT_TRUE(hasLine("summary.log", "     files: 0 \n"));
}

// A bare link target, a hard link and a disk spelled otherwise: each is the
// disk's file however it is named, for cdverify's logs and cdcoverage's outputs.
TEST_F(HostileDiskTest, TargetsThatAreTheDisksFilesByAnotherNameAreNeverWritten) {
  put("20060615", "P0615001.DAT", DataFile());
  const fs::path data = disk.directory() / "20060615" / "P0615001.DAT";
  const std::string before = testsupport::readFile(data);
  fs::create_symlink("disk/20060615/NEW", dir.path() / "log.out");
  fs::create_hard_link(data, dir.path() / "h.log");
  run({"-archDisk=disk", "-fNameWarning=h.log", "-fNameError=missing/err.log"});
  EXPECT_EQ(errors,
            "cdverify: log log.out lies inside the disk disk: it is not written\n"
            "cdverify: log h.log has other names on the volume of the disk disk, which may lie "
            "on the disk: it is not written\n");
  EXPECT_FALSE(fs::exists(disk.directory() / "20060615" / "NEW"));

  for (const auto& [output, spelling] : std::vector<std::pair<std::string, std::string>>{
           {"log.out", "disk"}, {"h.log", "disk"}, {"disk//20060615/x.txt", "./disk/"}}) {
    std::ostringstream out, err;
    const std::string option = "--output=" + output;
    const char* argv[] = {"cdcoverage", option.c_str(), spelling.c_str()};
    EXPECT_EQ(cdcoverage::runCoverage(3, argv, platform::systemDisk(), out, err), 1) << output;
    EXPECT_NE(err.str().find("cdcoverage: " + output + " "), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(": it is not written\n"), std::string::npos) << err.str();
  }
  EXPECT_FALSE(fs::exists(disk.directory() / "20060615" / "NEW"));
  EXPECT_FALSE(fs::exists(disk.directory() / "20060615" / "x.txt"));
  EXPECT_EQ(testsupport::readFile(data), before);
  EXPECT_EQ(testsupport::readFile(dir.path() / "h.log"), before);
}

TEST_F(HostileDiskTest, DateDirectoryLinkedOutOfTheDiskIsSkipped) {
  put("20060615", "P0615001.DAT", DataFile().startingAt(kJune15Noon));
  put("", "P0000001.DAT", DataFile());  // in the root: never verified in subdir mode
  testsupport::writeFile(dir.path() / "P9999999.DAT", DataFile().bytes());  // outside the disk
  fs::create_directory_symlink("..", disk.directory() / "20060616");
  fs::create_directory_symlink(dir.path(), disk.directory() / "20060617");
  run({"-archDisk=disk"});
  EXPECT_FALSE(hasLine("log.out", "     Directory 20060616"));
  EXPECT_FALSE(hasLine("log.out", "     Directory 20060617"));
  EXPECT_TRUE(hasLine("log.out", "     directories: 1 \n"));
  EXPECT_TRUE(hasLine("log.out", "     files: 1 \n"));
}

TEST_F(HostileDiskTest, LinksThatStayInsideTheDiskAreWalkedAsBefore) {
  put("20060615", "P0615001.DAT", DataFile().startingAt(kJune15Noon));
  fs::create_directory_symlink("20060615", disk.directory() / "20060616");
  fs::create_symlink("P0615001.DAT", disk.directory() / "20060615" / "P0615002.DAT");
  run({"-archDisk=disk"});
  EXPECT_TRUE(hasLine("log.out", "     File disk/20060616/P0615002.DAT"));
  EXPECT_TRUE(hasLine("log.out", "     directories: 2 \n"));
  EXPECT_TRUE(hasLine("log.out", "     files: 4 \n"));
}

TEST_F(HostileDiskTest, ControlBytesInANameCannotForgeLogLines) {
  const std::string name = "P1.DAT\r\n     File FORGED.DAT is unusable\r\nP\x1b[2J";
  testsupport::writeFile(disk.directory() / "20060615" / name, "");
  run({"-archDisk=disk", "-fNameError=err.log"});
  const std::string shown =
      "disk/20060615/P1.DAT\\x0d\\x0a     File FORGED.DAT is unusable\\x0d\\x0aP\\x1b[2J";
  EXPECT_EQ(logFile("err.log"), "     File " + shown + " is unusable\r\n");
  EXPECT_TRUE(hasLine("log.out", "     File " + shown));
  EXPECT_TRUE(hasLine("log.out", "     errors: 1 \n"));
}

// A disk that is a plain file (read as an image), or a link that leads nowhere,
// is said aloud on standard error, once; the logs stay those of an empty disk.
TEST_F(HostileDiskTest, ADiskThatIsNoFolderIsSaidAloud) {
  testsupport::writeFile(dir.path() / "notes.txt", "not a disk");
  fs::create_symlink("gone", dir.path() / "dangling");
  run({"-archDisk=notes.txt"});
  EXPECT_EQ(errors, "cdverify: disk image notes.txt cannot be read: Unrecognized archive format\n");
  run({"-archDisk=dangling"});
  EXPECT_EQ(errors, "cdverify: disk dangling: no such disk or folder\n");
  EXPECT_TRUE(hasLine("log.out", "     files: 0 \n"));
}

TEST_F(HostileDiskTest, TheRunsOwnLogIsNeverVerifiedAsData) {
  put("", "T0615001.DAT", DataFile());
  testsupport::writeFile(disk.directory() / "log.out", "an earlier run's log\r\n");
  fs::current_path(disk.directory());
  run({"-archDisk=.", "-mode=plane", "-stream=trigger", "-fNameInfo=../run.log",
       "-fNameWarning=../run.log", "-fNameError=../run.log"});
  EXPECT_TRUE(hasLine("run.log", "     File ./T0615001.DAT"));
  EXPECT_FALSE(hasLine("run.log", "     File ./log.out"));
  EXPECT_EQ(testsupport::readFile(disk.directory() / "log.out"), "an earlier run's log\r\n");
}

}  // namespace
