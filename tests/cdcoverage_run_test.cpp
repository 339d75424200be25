// Whole cdcoverage runs over the sample disk: each output format pinned byte for
// byte against tests/expected/cdcoverage/, summaries merged like disks, and the
// exit statuses scripts rely on.

#include <cstring>
#include <sstream>

#include "programs/cdcoverage/coverage_run.h"
#include "tests/run_test_fixture.h"
#include "tools/datagen/sample_disk.h"

namespace {

class CoverageRunTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    if (!IsSkipped()) datagen::makeSampleDisk(disk.directory());
  }

  // Runs cdcoverage with the arguments; returns the exit status and keeps
  // standard output and error.
  int cover(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "cdcoverage");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream outStream, errStream;
    const int status = cdcoverage::runCoverage(static_cast<int>(argv.size()), argv.data(),
                                               platform::systemDisk(), outStream, errStream);
    out = outStream.str();
    err = errStream.str();
    return status;
  }

  std::string expected(const std::string& name) const {
    return expand(testsupport::readFile(std::filesystem::path(CDVERIFY_EXPECTED_DIR) / name));
  }

  std::string out, err;
};

TEST_F(CoverageRunTest, EachFormatOfTheSampleDiskAsPinned) {
  EXPECT_EQ(cover({disk.setting()}), 0);
  EXPECT_EQ(out, expected("cdcoverage/sample.txt"));
  EXPECT_EQ(cover({"--format=csv", disk.setting()}), 0);
  EXPECT_EQ(out, expected("cdcoverage/sample.csv"));
  EXPECT_EQ(cover({"--format=json", "--gap-tolerance=60", disk.setting()}), 0);
  // The pinned file holds the paths unescaped; Windows paths have backslashes.
  for (std::size_t at = 0; (at = out.find("\\\\", at)) != std::string::npos; ++at) {
    out.erase(at, 1);
  }
  EXPECT_EQ(out, expected("cdcoverage/sample.json"));
  EXPECT_EQ(err, "");
}

TEST_F(CoverageRunTest, MergedSummariesEqualTheDirectRun) {
  ASSERT_EQ(cover({"--format=json", "--output=one.json", disk.setting()}), 0);
  ASSERT_EQ(cover({"--format=json", "--output=two.json", "--mode=plane", disk.setting()}), 0);
  ASSERT_EQ(cover({"--from=2006-06-15", "--format=json", "one.json", "two.json"}), 0);
  const std::string merged = out;
  ASSERT_EQ(cover({"--from=2006-06-15", "--format=json", disk.setting(), "two.json"}), 0);
  EXPECT_EQ(out, merged);
  EXPECT_NE(merged.find("\"overlapPairs\": [\n        {"), std::string::npos);
}

TEST_F(CoverageRunTest, BadCommandLinesExitTwoAndUnreadableInputsOne) {
  for (const char* bad :
       {"--mode=flat", "--first-byte=PQ", "--gap-tolerance=-1", "--gap-tolerance=0x10",
        "--gap-tolerance=1e3", "--gap-tolerance=9223372036854775808", "--from=15.6.2006",
        "--format=xml", "--unknown"}) {
    EXPECT_EQ(cover({bad, disk.setting()}), 2) << bad;
    EXPECT_NE(err, "") << bad;
  }
  EXPECT_EQ(cover({}), 2);
  EXPECT_EQ(cover({"--gap-tolerence=5", disk.setting()}), 2);
  EXPECT_EQ(err,
            "cdcoverage: unknown option --gap-tolerence; did you mean --gap-tolerance?\n"
            "Run with --help for more information.\n");
  EXPECT_EQ(cover({"--from=2006-06-16T12", disk.setting()}), 2);
  EXPECT_EQ(err.substr(0, err.find('\n')),
            "cdcoverage: --from: not a time: 2006-06-16T12; the forms taken are 2006-06-15, "
            "2006-06-15T12:30 or 2006-06-15T12:30:01 (a space may stand for the T, a Z may end "
            "it)");
  EXPECT_EQ(cover({"--from=2006-06-16", "--to=2006-06-15", disk.setting()}), 2);
  EXPECT_EQ(cover({"--from=2007-01-01", disk.setting()}), 2);  // after all the data
  EXPECT_EQ(err,
            "cdcoverage: the window of station VELK ends before it starts: "
            "2007-01-01T00:00:00 .. 2006-06-16T08:03:01\n");
  EXPECT_EQ(out, "");
  EXPECT_EQ(cover({"--gap-tolerance=009223372036854775807", disk.setting()}), 0);
  EXPECT_EQ(cover({"--help"}), 0);
  EXPECT_NE(out.find("Exit status: 0 the summary was written; 1 an input"), std::string::npos);
  EXPECT_EQ(cover({"--version"}), 0);
  EXPECT_EQ(out, "cdcoverage " CDVERIFY_VERSION "\n");
  testsupport::writeFile(dir.path() / "broken.json", "{\"version\": 1, \"disks\": [");
  EXPECT_EQ(cover({"no-such-disk", disk.setting(), "broken.json", "missing.json"}), 1);
  EXPECT_NE(out.find("cdcoverage: 1 disk, 7 files"), std::string::npos);
  EXPECT_EQ(err.substr(0, err.find('\n')),
            "cdcoverage: disk no-such-disk: no such disk, or nothing on it");
  EXPECT_NE(err.find("cdcoverage: summary broken.json: not valid JSON: it ends too early\n"),
            std::string::npos);
  EXPECT_NE(err.find("cdcoverage: summary missing.json: cannot be opened\n"), std::string::npos);
  const std::string inside = disk.path("20060615", "summary.txt");
  EXPECT_EQ(cover({"--output=" + inside, disk.setting()}), 1);
  EXPECT_EQ(err, "cdcoverage: " + inside + " lies inside the disk " + disk.setting() +
                     ": it is not written\n");
  EXPECT_FALSE(std::filesystem::exists(disk.directory() / "20060615" / "summary.txt"));
}

TEST_F(CoverageRunTest, ADiskAndItsOwnSummaryAreOneDiskInEitherOrder) {
  ASSERT_EQ(cover({"--format=json", "--output=own.json", disk.setting()}), 0);
  ASSERT_EQ(cover({disk.setting()}), 0);
  const std::string once = out;
  EXPECT_EQ(cover({disk.setting(), "own.json"}), 0);
  EXPECT_EQ(out, once);
  EXPECT_EQ(err, "cdcoverage: own.json holds the same disk as " + disk.setting() +
                     ": it is counted once\n");
  EXPECT_EQ(cover({"own.json", disk.setting()}), 0);
  EXPECT_EQ(out, once);
  EXPECT_EQ(err, "cdcoverage: " + disk.setting() +
                     " holds the same disk as own.json: it is counted once\n");
}

// "--svg=$UNSET" must not make the next argument, a disk, the file written.
TEST_F(CoverageRunTest, AnEmptyValueIsAUsageErrorNeverTheNextArgument) {
  testsupport::writeFile(dir.path() / "a.json", "{}");
  for (const char* empty : {"--svg=", "--output=", "--ext=", "--format="}) {
    EXPECT_EQ(cover({empty, "a.json", disk.setting()}), 2) << empty;
    EXPECT_EQ(err.substr(0, err.find('\n')), "cdcoverage: option " +
                                                 std::string(empty).substr(0, strlen(empty) - 1) +
                                                 " needs a value, not an empty one");
  }
  EXPECT_EQ(cover({"--svg", "", disk.setting()}), 2);
  EXPECT_EQ(testsupport::readFile(dir.path() / "a.json"), "{}");
}

TEST_F(CoverageRunTest, StandardOutputThatCannotBeWrittenFails) {
  std::ostringstream said;
  std::ostream broken(nullptr);  // as standard output on a full disk
  const std::string setting = disk.setting();
  const char* argv[] = {"cdcoverage", setting.c_str()};
  EXPECT_EQ(cdcoverage::runCoverage(2, argv, platform::systemDisk(), broken, said), 1);
  EXPECT_EQ(said.str(),
            "cdcoverage: standard output cannot be written: what it shows is incomplete\n");
}

}  // namespace
