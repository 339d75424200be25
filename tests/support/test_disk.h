#pragma once

#include <filesystem>
#include <string>

#include "platform/path_rules.h"

namespace testsupport {

// The archive disk of an end-to-end test: the directory "disk" in the test's
// working directory, named to cdverify as "-archDisk=disk".
struct TestDisk {
  explicit TestDisk(const std::filesystem::path& workDir) : directory(workDir / "disk") {}

  std::string setting() const { return "disk"; }
  // How the run writes the path of name inside the date directory dir ("" for
  // the root).
  std::string path(const std::string& dir, const std::string& name) const {
    const std::string root = *platform::diskRoot(setting());
    return dir.empty() ? root + name : root + dir + platform::kPathSeparator + name;
  }

  std::filesystem::path directory;
};

}  // namespace testsupport
