// The host's disk, as both hosts must behave alike.

#include "platform/disk.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(SystemDiskAppend, CreatesOrAppendsButNeverInAMissingDirectory) {
  ScratchDir dir;
  EXPECT_TRUE(systemDisk().appendToFile(dir.file("log.out"), "old\r\n"));
  EXPECT_TRUE(systemDisk().appendToFile(dir.file("log.out"), "new\r\n"));
  EXPECT_EQ(readFile(dir.file("log.out")), "old\r\nnew\r\n");
  EXPECT_FALSE(systemDisk().appendToFile(dir.file("missing/log.out"), "x"));
}

TEST(SystemDiskOpenFile, ReportsLengthAndReadsAtOffsets) {
  ScratchDir dir;
  writeFile(dir.file("f"), "0123456789");
  const auto opened = systemDisk().openForReading(dir.file("f"));
  ASSERT_TRUE(opened);
  OpenFile& file = **opened;
  EXPECT_EQ(file.length(), 10);
  char buffer[4] = {};
  EXPECT_EQ(*file.readAt(8, buffer, 4), 2);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(*file.readAt(10, buffer, 4), 0);
  EXPECT_FALSE(file.readAt(-1, buffer, 1));
  EXPECT_FALSE(file.readWhole(8, buffer, 4));  // two bytes are there, not four
  EXPECT_FALSE(systemDisk().openForReading(dir.file("missing")));
}

}  // namespace
}  // namespace platform
