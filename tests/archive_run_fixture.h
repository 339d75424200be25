// The fixture of whole cdarchive runs: the sample disk, a real SQLite
// catalogue in the test's folder, and each program run in-process.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "programs/cdarchive/archive_run.h"
#include "programs/cdcoverage/coverage_run.h"
#include "tests/run_test_fixture.h"
#include "tools/datagen/sample_disk.h"

inline constexpr int64_t kNow = 1796000000;  // 2026-11-29T...: when the disks are added

class ArchiveRunTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    if (!IsSkipped()) datagen::makeSampleDisk(disk.directory());
  }

  // Runs a program's entry with the arguments; returns the exit status and
  // keeps standard output and error.
  template <typename Entry>
  int runWith(Entry entry, const char* program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream outStream, errStream;
    const int status = entry(static_cast<int>(argv.size()), argv.data(), outStream, errStream);
    out = outStream.str();
    err = errStream.str();
    return status;
  }
  int archive(std::vector<std::string> arguments) {
    return runWith(
        [](int argc, const char* const* argv, std::ostream& o, std::ostream& e) {
          return cdarchive::runArchive(argc, argv, platform::systemDisk(), o, e, kNow);
        },
        "cdarchive", std::move(arguments));
  }
  int cover(std::vector<std::string> arguments) {
    return runWith(
        [](int argc, const char* const* argv, std::ostream& o, std::ostream& e) {
          return cdcoverage::runCoverage(argc, argv, platform::systemDisk(), o, e);
        },
        "cdcoverage", std::move(arguments));
  }

  static bool xorrisoHere() { return std::system("xorriso -version > /dev/null 2>&1") == 0; }
  // Makes d.iso beside the disk, an ISO 9660 image of it with Rock Ridge and
  // Joliet names, under that volume identifier.
  bool imageTheDisk(const std::string& volume) {
    return std::system(("cd '" + dir.path().string() + "' && xorriso -as mkisofs -R -J -quiet -V " +
                        volume + " -o d.iso disk > /dev/null 2>&1")
                           .c_str()) == 0;
  }

  std::string out, err;
  const std::string label = disk.label();
};

// A path of a disk in memory, written as on POSIX, as this host names it: on
// Windows a disk of one letter is that drive ("d/x" is "d:\\x"), and '/' is
// '\\'.
inline std::string onHost(std::string path) {
  if (platform::kPathSeparator == '/') return path;
  if (path.size() >= 2 && path[1] == '/') path.insert(1, ":");
  std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
  return path;
}

// A disk is known by what it holds, never by its label, its listing's sizes
// or its files' times: the same disk is skipped wherever it is mounted, and
