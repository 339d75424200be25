#include <gtest/gtest.h>

#include "platform/path_rules.h"

namespace platform {
namespace {

TEST(Win32DiskRoot, DiskIsADriveLetter) {
  EXPECT_EQ(diskRoot("g"), "g:\\");
  EXPECT_EQ(kPathSeparator, '\\');
}

TEST(Win32DiskRoot, EmptySettingNamesNoDrive) { EXPECT_EQ(diskRoot(""), ":\\"); }

}  // namespace
}  // namespace platform
