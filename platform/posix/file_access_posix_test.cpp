#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/file_access.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

TEST(PosixAppendToFile, CreatesFileReadableAndWritableByOwnerOnly) {
  testsupport::ScratchDir dir;
  ASSERT_TRUE(appendToFile(dir.file("log.out"), "x"));
  struct stat info;
  ASSERT_EQ(::stat(dir.file("log.out").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(PosixAppendToFile, KeepsPermissionsOfAnExistingFile) {
  testsupport::ScratchDir dir;
  testsupport::writeFile(dir.file("log.out"), "x");
  ::chmod(dir.file("log.out").c_str(), 0644);
  ASSERT_TRUE(appendToFile(dir.file("log.out"), "y"));
  struct stat info;
  ASSERT_EQ(::stat(dir.file("log.out").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

}  // namespace
}  // namespace platform
