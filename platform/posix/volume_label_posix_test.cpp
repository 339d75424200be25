// libblkid reads a volume's label from a file as from a device: an ISO image
// stands for a mounted disk's device where the machine cannot mount.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/posix/volume_probe.h"
#include "platform/volume_label.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

TEST(VolumeLabel, TheLabelOfAnImageIsItsVolumeIdentifier) {
  if (std::system("xorriso -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  testsupport::ScratchDir dir;
  testsupport::writeFile(dir.path() / "disk" / "P0000001.DAT", "x");
  const std::string made = "cd '" + dir.path().string() +
                           "' && xorriso -as mkisofs -R -J -quiet -V 'SHELF 042' -o d.iso disk "
                           "> /dev/null 2>&1";
  ASSERT_EQ(std::system(made.c_str()), 0);
  EXPECT_EQ(probedVolumeLabel(dir.file("d.iso")), "SHELF 042");
  EXPECT_EQ(probedVolumeLabel(dir.file("disk/P0000001.DAT")), std::nullopt);  // no volume
  EXPECT_EQ(probedVolumeLabel(dir.file("missing.iso")), std::nullopt);
  // A folder that is no mount point has no volume label of its own.
  EXPECT_EQ(mountedVolumeLabel(dir.file("disk")), std::nullopt);
  EXPECT_EQ(mountedVolumeLabel(dir.file("missing")), std::nullopt);
}

}  // namespace
}  // namespace platform
