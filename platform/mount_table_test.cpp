#include "platform/mount_table.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

constexpr const char* kMountinfo =
    "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
    "26 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "40 26 11:0 / /media/cdrom ro,nosuid shared:20 master:3 - iso9660 /dev/sr0 ro,norock\n"
    "41 26 7:0 / /media/my\\040disk ro - udf /dev/loop0 ro\n"
    "42 40 7:1 / /media/cdrom ro - iso9660 /dev/loop1 ro\n"
    "43 26 0:50 / /broken\n";

TEST(MountTable, TheVolumeAtAMountPointIsTheLastMountedThere) {
  const auto at = [](const std::string& place) {
    const std::optional<MountedVolume> volume = volumeMountedAt(kMountinfo, place);
    return volume ? volume->type + " " + volume->source : std::string("none");
  };
  EXPECT_EQ(at("/media/cdrom"), "iso9660 /dev/loop1");  // stacked over /dev/sr0
  EXPECT_EQ(at("/media/my disk"), "udf /dev/loop0");    // a blank stands escaped
  EXPECT_EQ(at("/"), "ext4 /dev/sda1");
  EXPECT_EQ(at("/media"), "none");
  EXPECT_EQ(at("/media/cdrom/20060615"), "none");  // inside a mount, no mount point
  EXPECT_EQ(at("/broken"), "none");                // a line cut short
  EXPECT_EQ(volumeMountedAt("", "/"), std::nullopt);
}

}  // namespace
}  // namespace platform
