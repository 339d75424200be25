// The platform's own enumeration (as Wine provides it), where it differs from
// the POSIX lister's rules.

#include <gtest/gtest.h>

#include "platform/disk.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(Win32DiskListing, StarDotMatchesEveryNameAndDotEntriesAreDirectories) {
  ScratchDir dir;
  writeFile(dir.path() / "P0001.DAT", "x");
  writeFile(dir.path() / "NODOT", "x");
  const auto entries = *systemDisk().list(dir.path().string() + "\\*.");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, ".");
  EXPECT_TRUE(entries[0].directory && entries[1].directory);
  EXPECT_FALSE(entries[2].directory || entries[3].directory);
}

}  // namespace
}  // namespace platform
