#include <chrono>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "tests/support/test_disk.h"

namespace testsupport {
namespace {

namespace fs = std::filesystem;

const char kDriveRoot[] = "X:\\";

// True when a file made in folder shows on the drive: the drive leads there.
bool driveLeadsTo(const fs::path& folder) {
  const std::string probe =
      ".cdverify-probe-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  std::error_code ignored;
  { std::ofstream(folder / probe).put('x'); }
  const bool seen = fs::exists(fs::path(kDriveRoot) / probe, ignored);
  fs::remove(folder / probe, ignored);
  return seen;
}

void removeEverythingIn(const fs::path& folder) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    fs::remove_all(entry.path(), ignored);
  }
}

}  // namespace

TestDisk::TestDisk(const fs::path&) {
  const char* folder = std::getenv("CDVERIFY_TEST_DRIVE_FOLDER");
  if (folder == nullptr || *folder == '\0') {
    unavailable_ =
        "no test drive: set CDVERIFY_TEST_DRIVE_FOLDER to an empty folder of the tests' own and "
        "map X: to it (under Wine, ctest's fixture wine does both)";
    return;
  }
  directory_ = folder;
  if (!driveLeadsTo(directory_)) {
    unavailable_ = "drive X: does not lead to the test folder " + directory_.string() +
                   ": it belongs to something else and is left untouched";
    return;
  }
  removeEverythingIn(directory_);
}

TestDisk::~TestDisk() {
  if (!unavailable_) removeEverythingIn(directory_);
}

std::string TestDisk::setting() const { return "x"; }

std::string TestDisk::label() const { return "x"; }

}  // namespace testsupport
