#include "platform/path_rules.h"
#include "tests/support/test_disk.h"

namespace testsupport {

TestDisk::TestDisk(const std::filesystem::path& workDir) : directory_(workDir / "disk") {}

std::string TestDisk::setting() const { return "disk"; }

std::string TestDisk::path(const std::string& dir, const std::string& name) const {
  const std::string root = *platform::diskRoot(setting());
  return dir.empty() ? root + name : root + dir + platform::kPathSeparator + name;
}

}  // namespace testsupport
