// ISO 9660 images verified directly: the logs equal those of the same tree as a
// folder, apart from the root, for images made by xorriso with Rock Ridge and
// Joliet names, either alone, or plain level 1; damaged images are told on
// standard error and verified as far as they hold whole files.

#include <cstdlib>
#include <fstream>

#include "coverage/coverage_run.h"
#include "tests/run_test_fixture.h"
#include "tools/datagen/sample_disk.h"

namespace {

using datagen::DataFile;

class DiskImageTest : public RunTest {
 protected:
  void SetUp() override {
    if (std::system("xorriso -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
    datagen::makeSampleDisk(disk.directory());
  }

  // Runs xorriso with arguments in the working directory, which holds the disk.
  void makeImage(const std::string& arguments) {
    ASSERT_EQ(std::system(("xorriso " + arguments + " > /dev/null 2>&1").c_str()), 0) << arguments;
  }

  // The log of a run over setting, with the setting written as "disk".
  std::string logOf(const std::string& setting) {
    const std::string name = setting + ".log";
    std::filesystem::remove(dir.path() / name);
    testing::internal::CaptureStderr();
    run({"-archDisk=" + setting, "-fNameInfo=" + name, "-fNameWarning=" + name,
         "-fNameError=" + name, "-fNameSummary=" + name});
    said = testing::internal::GetCapturedStderr();
    std::string log = logFile(setting + ".log");
    for (std::size_t at = 0; (at = log.find(setting, at)) != std::string::npos; at += 4) {
      log.replace(at, setting.size(), "disk");
    }
    return log;
  }

  std::string image() const { return testsupport::readFile(dir.path() / "disk.iso"); }
  void writeImage(const std::string& name, const std::string& bytes) const {
    testsupport::writeFile(dir.path() / name, bytes);
  }

  std::string said;  // standard error of the last run
};

TEST_F(DiskImageTest, LogsEqualTheFoldersForEveryKindOfNames) {
  put("20060615", "p0615004.dat", DataFile().startingAt(1150373100));  // lower case
  put("20060615", "P0615005.DaT", DataFile().set("SYSTEM", "FREQ", "20"));
  put("20060615", "P0615006\xC3\xA9.DAT", DataFile());  // not ASCII: UTF-8 as Linux shows it
  const std::string folder = logOf("disk");
  for (const char* arguments :
       {"-as mkisofs -R -J -o image.iso disk", "-as mkisofs -R -o image.iso disk",
        "-outdev image.iso -rockridge off -joliet on -map disk /"}) {
    makeImage(arguments);
    EXPECT_EQ(logOf("image.iso"), folder) << arguments;
    EXPECT_EQ(said, "");
    std::filesystem::remove(dir.path() / "image.iso");
  }
}

TEST_F(DiskImageTest, LevelOneNamesLoseTheirVersionAndDotAndHiddenFlagsAreSkipped) {
  testsupport::writeFile(disk.directory() / "20060616" / "PNODOT", DataFile().bytes());
  makeImage("-outdev disk.iso -rockridge off -joliet off -map disk /");
  std::string marked = image();
  const std::size_t record = marked.find("P0615002.DAT;1") - 33;
  marked[record + 25] = static_cast<char>(marked[record + 25] | 0x01);  // the hidden flag
  writeImage("hidden.iso", marked);
  std::filesystem::remove(disk.directory() / "20060615" / "P0615002.DAT");
  const std::string folder = logOf("disk");
  EXPECT_EQ(logOf("hidden.iso"), folder);
  EXPECT_NE(folder.find("/20060616/PNODOT\r\n"), std::string::npos);
}

TEST_F(DiskImageTest, UnreadableImagesAreToldAndFindNothing) {
  makeImage("-outdev disk.iso -rockridge off -joliet off -map disk /");
  std::string looped = image(), damaged = image();
  // The record of the date directory 20060615 in the root directory: made
  // shorter than any record can be, or to lead back to the root, whose record
  // lies in the primary volume descriptor.
  const std::size_t record = looped.find("20060615", 18 * 2048) - 33;
  damaged[record] = '\x10';
  const std::string rootLocation = looped.substr(16 * 2048 + 156 + 2, 4);
  looped.replace(record + 2, 4, rootLocation);
  looped.replace(record + 6, 4, std::string(rootLocation.rbegin(), rootLocation.rend()));
  writeImage("text.iso", "not an image\n");
  writeImage("cut.iso", image().substr(0, 18 * 2048));
  writeImage("damaged.iso", damaged);
  writeImage("looped.iso", looped);
  testsupport::writeFile(dir.path() / "missing" / "x", "");
  const std::string nothing = logOf("missing");
  for (const auto& [name, reason] : std::vector<std::pair<std::string, std::string>>{
           {"text.iso", "Unrecognized archive format"},
           {"cut.iso", "the image ends before its directory records"},
           {"damaged.iso", "Invalid length of directory record"},
           {"looped.iso", "Directory structure contains loop"}}) {
    EXPECT_EQ(logOf(name), nothing) << name;
    EXPECT_EQ(said, "cdverify: disk image " + name + " cannot be read: " + reason + "\n");
  }
  std::ostringstream out, err;
  const char* argv[] = {"cdcoverage", "looped.iso", "disk"};
  EXPECT_EQ(runCoverage(3, argv, platform::systemDisk(), out, err), 1);
  EXPECT_EQ(
      err.str(),
      "cdcoverage: disk image looped.iso cannot be read: Directory structure contains loop\n");
}

TEST_F(DiskImageTest, ImageCutInsideAFileLeavesItAndTheFollowingOnesUnusable) {
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  const std::string second = DataFile().startingAt(1150372860).set("SYSTEM", "LAT", "x").bytes();
  testsupport::writeFile(disk.directory() / "20060615" / "P0615002.DAT", second);
  std::filesystem::remove(dir.path() / "disk.iso");
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  const std::size_t secondAt = image().find(second);
  ASSERT_NE(secondAt, std::string::npos);
  writeImage("cut.iso", image().substr(0, secondAt + 100));
  const std::string log = logOf("cut.iso");
  EXPECT_EQ(said, "");
  EXPECT_EQ(log.find(" File disk/20060615/P0615001.DAT is unusable"), std::string::npos);
  for (const char* name :
       {"20060615/P0615002.DAT", "20060615/P0615003.DAT", "20060616/P0616003.DAT"}) {
    EXPECT_NE(log.find(" File disk/" + std::string(name) + " is unusable\r\n"), std::string::npos)
        << name;
  }
}

}  // namespace
