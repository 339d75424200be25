#include "display/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/memory_disk.h"
#include "verify/archive_verifier.h"

namespace display {

namespace {

using std::chrono::milliseconds;
using Strings = std::vector<std::string>;

// What a terminal shows of the text written to it: each carriage return
// starts the line again, and characters overwrite those before them.
std::string screen(const std::string& written) {
  std::string line;
  std::size_t column = 0;
  for (const char c : written) {
    if (c == '\r') {
      column = 0;
      continue;
    }
    if (column < line.size()) {
      line[column] = c;
    } else {
      line += c;
    }
    ++column;
  }
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

// A progress line on a string, with a clock the test moves.
class ProgressLineTest : public ::testing::Test {
 protected:
  void advance(milliseconds step) { now += step; }
  std::string shown() const { return screen(terminal.str()); }
  void verified(int files) {
    for (int i = 0; i < files; ++i) line.fileVerified(verifier, true);
  }

  std::chrono::steady_clock::time_point now;
  std::ostringstream terminal;
  ProgressLine line{terminal, [this] { return now; }};
  testsupport::MemoryDisk disk;
  verify::ArchiveVerifier verifier{disk};
};

TEST_F(ProgressLineTest, ShowsTheFirstListingAtOnceThenAtMostEveryInterval) {
  line.begin("cdverify: disk g");
  EXPECT_EQ(shown(), "cdverify: disk g");
  line.filesListed("20060615", 200);
  EXPECT_EQ(shown(), "cdverify: disk g: 0 of 200 files listed so far, in 20060615");
  advance(ProgressLine::kInterval - milliseconds(1));
  verified(150);
  EXPECT_EQ(shown(), "cdverify: disk g: 0 of 200 files listed so far, in 20060615");
  advance(milliseconds(1));
  verified(1);
  EXPECT_EQ(shown(), "cdverify: disk g: 151 of 200 files listed so far, in 20060615");
  advance(ProgressLine::kInterval);
  line.filesListed("20060616", 100);
  EXPECT_EQ(shown(), "cdverify: disk g: 151 of 300 files listed so far, in 20060616");
}

TEST_F(ProgressLineTest, ANoteTellsWhatIsDoneBeforeTheFirstListing) {
  line.begin("cdarchive: disk 1 of 2, g");
  advance(ProgressLine::kInterval);
  line.note("3 files read, 1 MiB");
  EXPECT_EQ(shown(), "cdarchive: disk 1 of 2, g: 3 files read, 1 MiB");
  line.note("4 files read, 1 MiB");  // not yet due
  EXPECT_EQ(shown(), "cdarchive: disk 1 of 2, g: 3 files read, 1 MiB");
  line.filesListed("20060615", 10);
  EXPECT_EQ(shown(), "cdarchive: disk 1 of 2, g: 0 of 10 files listed so far, in 20060615");
  line.begin("cdarchive: disk 2 of 2, h");  // a new part starts without the note
  EXPECT_EQ(shown(), "cdarchive: disk 2 of 2, h");
}

TEST_F(ProgressLineTest, AShorterLineLeavesNothingOfTheLongerOneBefore) {
  line.begin("cdcoverage: disk 1 of 2, a-rather-long-disk-name");
  line.filesListed("", 10);
  line.begin("cdcoverage: disk 2 of 2, b");
  EXPECT_EQ(shown(), "cdcoverage: disk 2 of 2, b");
  line.filesListed("", 5);  // the disk's root is named by the title alone
  EXPECT_EQ(shown(), "cdcoverage: disk 2 of 2, b: 0 of 5 files listed so far");
}

TEST_F(ProgressLineTest, EraseLeavesAnEmptyLineOnceAndTheDestructorErasesToo) {
  line.begin("cdverify: disk g");
  line.filesListed("20060615", 3);
  line.erase();
  EXPECT_EQ(shown(), "");
  const std::string written = terminal.str();
  line.erase();
  EXPECT_EQ(terminal.str(), written);

  std::ostringstream other;
  {
    ProgressLine(other, [this] { return now; }).begin("cdverify: disk g");
  }
  EXPECT_EQ(screen(other.str()), "");
}

TEST_F(ProgressLineTest, NothingIsWrittenBeforeTheFirstTitleOrListing) {
  verified(3);
  advance(ProgressLine::kInterval * 5);
  verified(1);
  EXPECT_EQ(terminal.str(), "");
}

TEST_F(ProgressLineTest, ALongLineIsCutSoThatItNeverWraps) {
  line.begin("cdcoverage: disk 1 of 1, /archive/" + std::string(100, 'x'));
  const std::string cut = shown();
  EXPECT_EQ(cut.size(), ProgressLine::kWidth);
  EXPECT_EQ(cut.substr(cut.size() - 4), "x...");
  // A cut never splits a UTF-8 character: "é" is two bytes.
  std::string accents = "x";
  for (int i = 0; i < 50; ++i) accents += "\xc3\xa9";
  line.begin(accents);
  EXPECT_EQ(shown(), accents.substr(0, ProgressLine::kWidth - 4) + "...");
}

TEST_F(ProgressLineTest, ControlBytesOfADirectoryNameAreShownEscaped) {
  line.begin("cdverify: disk g");
  line.filesListed("2006\r0615", 1);
  EXPECT_EQ(shown(), "cdverify: disk g: 0 of 1 file listed so far, in 2006\\x0d0615");
}

}  // namespace

}  // namespace display
