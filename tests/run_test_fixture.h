#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "programs/cdverify/verification_run.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_disk.h"
#include "tools/datagen/data_file.h"

// A whole run of cdverify in a scratch working directory holding the disk.
class RunTest : public ::testing::Test {
 protected:
  RunTest() : disk(dir.path()), previousDirectory(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
  }
  ~RunTest() override { std::filesystem::current_path(previousDirectory); }

  void SetUp() override {
    if (disk.unavailable()) GTEST_SKIP() << *disk.unavailable();
  }

  // Runs with the given arguments; expects exit status 0 and returns what the
  // run wrote to standard output. What it wrote to standard error is kept in
  // errors.
  std::string run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "cdverify");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    EXPECT_EQ(cdverify::runVerification(static_cast<int>(argv.size()), argv.data(),
                                        platform::systemDisk(), out, err),
              0);
    errors = err.str();
    return out.str();
  }

  // Writes a data file at dir/name of the disk ("" for the root).
  void put(const std::string& dirName, const std::string& name, const datagen::DataFile& file) {
    file.writeTo(dirName.empty() ? disk.directory() / name : disk.directory() / dirName / name);
  }

  std::string logFile(const std::string& name) const {
    return testsupport::readFile(dir.path() / name);
  }

  // Expects the log file to hold, byte for byte, the expected log of that name
  // in tests/expected/, with this host's names filled in: "{disk}" is the
  // -archDisk value (diskSetting, or else the test disk's), "{path:DIR/NAME}"
  // (or "{path:NAME}") the path under which the run names that file of the disk.
  void expectLog(const std::string& logName, const std::string& expectedName,
                 const char* diskSetting = nullptr) const {
    const std::string expected =
        testsupport::readFile(std::filesystem::path(CDVERIFY_EXPECTED_DIR) / expectedName);
    ASSERT_FALSE(expected.empty()) << "no expected log " << expectedName;
    EXPECT_EQ(logFile(logName), expand(expected, diskSetting)) << "expected log " << expectedName;
  }

  std::string expand(std::string text, const char* diskSetting = nullptr) const {
    const std::string setting = diskSetting != nullptr ? diskSetting : disk.setting();
    for (std::size_t at; (at = text.find("{disk}")) != std::string::npos;) {
      text.replace(at, 6, setting);
    }
    for (std::size_t at; (at = text.find("{path:")) != std::string::npos;) {
      const std::size_t end = text.find('}', at);
      const std::string file = text.substr(at + 6, end - at - 6);
      const std::size_t slash = file.find('/');
      const std::string path = slash == std::string::npos
                                   ? disk.path("", file)
                                   : disk.path(file.substr(0, slash), file.substr(slash + 1));
      text.replace(at, end - at + 1, path);
    }
    return text;
  }

  testsupport::ScratchDir dir;
  testsupport::TestDisk disk;
  std::string errors;  // of the latest run

 private:
  std::filesystem::path previousDirectory;
};
