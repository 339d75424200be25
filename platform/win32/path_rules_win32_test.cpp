#include <gtest/gtest.h>

#include "platform/path_rules.h"

namespace platform {
namespace {

TEST(Win32PathRules, DiskIsADriveLetterAndNamesCompareIgnoringCase) {
  EXPECT_EQ(diskRoot("g"), "g:\\");
  EXPECT_EQ(diskRoot(""), ":\\");                               // names no drive
  EXPECT_EQ(diskRoot("d:\\disks\\042\\"), "d:\\disks\\042\\");  // a folder's root
  EXPECT_TRUE(isInside("G:\\20060415\\LOG.OUT", "g:\\"));
  EXPECT_FALSE(isInside("h:\\log.out", "g:\\"));
  EXPECT_TRUE(samePath("x:\\A\\log.out", "X:\\a\\LOG.OUT"));
}

TEST(Win32PathRules, ADriveIsItsLetterAndAnyLongerInputAFoldersRoot) {
  for (const char* setting : {"g", "g:", "g:\\"}) EXPECT_EQ(diskSettingOf(setting), "g");
  for (const char* folder : {"gg:", "g:\\x", "disk", "..\\disk"})
    EXPECT_EQ(diskSettingOf(folder), folder + std::string("\\"));
  for (const char* root : {"d:\\disks\\", "g:/"}) EXPECT_EQ(diskSettingOf(root), root);
  EXPECT_EQ(diskSettingOf(""), "");
  for (const char* setting : {"g:", "g:\\"}) {
    EXPECT_EQ(diskSettingHint(setting), "name the drive by its letter alone: -archDisk=g");
  }
  for (const char* setting : {"g", "", ":", "gg:", "1:"})
    EXPECT_EQ(diskSettingHint(setting), std::nullopt);
}

}  // namespace
}  // namespace platform
