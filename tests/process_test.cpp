// The built program as an operator starts it: exit status and standard output.

#include <cstdlib>

#include "tests/run_test_fixture.h"
#include "tests/support/console.h"

namespace {

using datagen::DataFile;

class ProcessTest : public RunTest {
 protected:
  // Runs the cdverify executable in the working directory; returns what
  // std::system reports (0 for exit status 0) and keeps stdout in out.txt.
  int runProcess(const std::string& arguments) {
    const std::string command = "\"" CDVERIFY_EXECUTABLE "\" " + arguments + " > out.txt";
    return std::system(command.c_str());
  }
};

TEST_F(ProcessTest, ExitsZeroAndPrintsOnlyDataWhateverTheDiskHolds) {
  EXPECT_EQ(runProcess("-archDisk=nothing-here -fNameInfo=missing.log"), 0);
  EXPECT_EQ(logFile("out.txt"), testsupport::consoleText("Data:\n"));
  put("20060615", "P0615001.DAT", DataFile());
  put("20060615", "P0615002.DAT", DataFile().set("SYSTEM", "NAME", "OTHER"));
  testsupport::writeFile(disk.directory() / "20060615" / "P0615003.DAT", "x");
  EXPECT_EQ(runProcess("-archDisk=" + disk.setting()), 0);
  EXPECT_EQ(logFile("out.txt"), testsupport::consoleText("Data:\n"));
  EXPECT_NE(logFile("log.out").find("     errors: 1 \n\r\n     warnings: 1 \n"), std::string::npos);
}

}  // namespace
