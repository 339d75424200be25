#include "platform/file_access.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(AppendToFile, CreatesAMissingFile) {
  ScratchDir dir;
  EXPECT_TRUE(appendToFile(dir.file("log.out"), "line\r\n"));
  EXPECT_EQ(readFile(dir.file("log.out")), "line\r\n");
}

TEST(AppendToFile, AppendsToAnExistingFileWithoutTruncating) {
  ScratchDir dir;
  writeFile(dir.file("log.out"), "old\r\n");
  EXPECT_TRUE(appendToFile(dir.file("log.out"), "new\r\n"));
  EXPECT_EQ(readFile(dir.file("log.out")), "old\r\nnew\r\n");
}

TEST(AppendToFile, FailsInAMissingDirectory) {
  ScratchDir dir;
  EXPECT_FALSE(appendToFile(dir.file("missing/log.out"), "x"));
}

TEST(ReadOnlyFile, ReportsLengthSeeksAndReads) {
  ScratchDir dir;
  writeFile(dir.file("f"), "0123456789");
  ReadOnlyFile file;
  ASSERT_TRUE(file.open(dir.file("f")));
  EXPECT_EQ(file.length(), 10);
  ASSERT_TRUE(file.seek(8));
  char buffer[4] = {};
  EXPECT_EQ(file.read(buffer, 4), 2);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(file.read(buffer, 4), 0);
}

TEST(ReadOnlyFile, NegativeSeekFails) {
  ScratchDir dir;
  writeFile(dir.file("f"), "x");
  ReadOnlyFile file;
  ASSERT_TRUE(file.open(dir.file("f")));
  EXPECT_FALSE(file.seek(-1));
}

TEST(ReadOnlyFile, MissingFileDoesNotOpen) {
  ScratchDir dir;
  ReadOnlyFile file;
  EXPECT_FALSE(file.open(dir.file("missing")));
  EXPECT_EQ(file.length(), -1);
  char c;
  EXPECT_EQ(file.read(&c, 1), -1);
}

}  // namespace
}  // namespace platform
