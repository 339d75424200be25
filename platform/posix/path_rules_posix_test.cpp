#include <gtest/gtest.h>

#include "platform/path_rules.h"

namespace platform {
namespace {

TEST(PosixDiskRoot, DiskIsADirectory) {
  EXPECT_EQ(diskRoot("g"), "g/");
  EXPECT_EQ(diskRoot("/mnt/cdrom"), "/mnt/cdrom/");
  EXPECT_EQ(diskRoot("/mnt/cdrom/"), "/mnt/cdrom/");
  EXPECT_EQ(kPathSeparator, '/');
}

TEST(PosixDiskRoot, EmptySettingNamesNoDiskRatherThanTheRoot) {
  EXPECT_EQ(diskRoot(""), std::nullopt);
}

}  // namespace
}  // namespace platform
