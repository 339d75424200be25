#include "tests/support/test_disk.h"

namespace testsupport {

TestDisk::TestDisk(const std::filesystem::path& workDir) : directory_(workDir / "disk") {}

// The disk lies in the test's scratch directory, which removes it.
TestDisk::~TestDisk() = default;

std::string TestDisk::setting() const { return "disk"; }

std::string TestDisk::label() const { return "disk"; }

}  // namespace testsupport
