// The platform's own enumeration (as Wine provides it), where it differs from
// the POSIX lister's rules.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/disk.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(Win32DiskListing, StarDotMatchesEveryName) {
  ScratchDir dir;
  writeFile(dir.path() / "P0001.DAT", "x");
  writeFile(dir.path() / "NODOT", "x");
  std::vector<std::string> names;
  for (const auto& entry : systemDisk().list(dir.path().string() + "\\*.")) {
    names.push_back(entry.name);
  }
  EXPECT_NE(std::find(names.begin(), names.end(), "P0001.DAT"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "NODOT"), names.end());
}

TEST(Win32DiskListing, ReportsTheDotEntriesAsDirectories) {
  ScratchDir dir;
  const auto entries = systemDisk().list(dir.path().string() + "\\*.*");
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, ".");
  EXPECT_TRUE(entries[0].directory);
}

}  // namespace
}  // namespace platform
