#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/path_rules.h"

namespace testsupport {

// The archive disk of an end-to-end test, empty when made and emptied again when
// the object ends. On POSIX it is the directory "disk" in the test's working
// directory ("-archDisk=disk"). On Windows it is the drive X:, which must lead to
// a folder made for the tests alone (named by the environment variable
// CDVERIFY_TEST_DRIVE_FOLDER; ctest's fixture "wine" makes and maps it
// under Wine); anything else on X: is never touched.
class TestDisk {
 public:
  explicit TestDisk(const std::filesystem::path& workDir);
  ~TestDisk();
  TestDisk(const TestDisk&) = delete;
  TestDisk& operator=(const TestDisk&) = delete;

  // Why this host has no disk for the test, which should then skip; nothing when
  // the disk is ready.
  const std::optional<std::string>& unavailable() const { return unavailable_; }

  // The -archDisk value that names the disk.
  std::string setting() const;
  // The label cdarchive gives the disk when none is given: the folder's name on
  // POSIX; on Windows the drive's letter, as a drive without a volume label
  // (Wine's mapped drive has none) is known by it.
  std::string label() const;
  // Where the disk's files are written.
  const std::filesystem::path& directory() const { return directory_; }
  // How the run writes the path of name in the date directory dir ("" for the
  // disk's root).
  std::string path(const std::string& dir, const std::string& name) const {
    const std::string root = *platform::diskRoot(setting());
    return dir.empty() ? root + name : root + dir + platform::kPathSeparator + name;
  }

 private:
  std::filesystem::path directory_;
  std::optional<std::string> unavailable_;
};

}  // namespace testsupport
