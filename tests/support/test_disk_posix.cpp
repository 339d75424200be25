#include "platform/path_rules.h"
#include "tests/support/test_disk.h"

namespace testsupport {

TestDisk::TestDisk(const std::filesystem::path& workDir) : directory_(workDir / "disk") {}

std::string TestDisk::setting() const { return "disk"; }

}  // namespace testsupport
