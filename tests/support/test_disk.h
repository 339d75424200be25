#pragma once

#include <filesystem>
#include <string>

#include "platform/path_rules.h"

namespace testsupport {

// The archive disk of an end-to-end test, empty when made. On POSIX it is the
// directory "disk" in the test's working directory ("-archDisk=disk"); on
// Windows it is the drive X:, which the test run maps to a scratch folder.
class TestDisk {
 public:
  explicit TestDisk(const std::filesystem::path& workDir);

  // The -archDisk value that names the disk.
  std::string setting() const;
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
};

}  // namespace testsupport
