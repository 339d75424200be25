#include <system_error>

#include "platform/path_rules.h"
#include "tests/support/test_disk.h"

namespace testsupport {

// The ctest fixture "map_test_drive" links Wine's dosdevices/x: to a scratch
// folder; the end-to-end tests hold it one at a time and empty it first.
TestDisk::TestDisk(const std::filesystem::path&) : directory_("X:\\") {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(directory_, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

std::string TestDisk::setting() const { return "x"; }

}  // namespace testsupport
