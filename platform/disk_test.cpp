#include "platform/disk.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

std::string patternIn(const ScratchDir& dir, const std::string& wildcard) {
  return dir.path().string() + kPathSeparator + wildcard;
}

std::vector<std::string> namesOf(const std::vector<DirectoryEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

const DirectoryEntry* entryNamed(const std::vector<DirectoryEntry>& entries,
                                 const std::string& name) {
  for (const auto& entry : entries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

TEST(SystemDiskListing, StarDotStarListsFilesAndDirectoriesWithFlags) {
  ScratchDir dir;
  writeFile(dir.path() / "P0415001.DAT", "x");
  std::filesystem::create_directory(dir.path() / "20060415");
  const auto entries = systemDisk().list(patternIn(dir, "*.*"));
  const DirectoryEntry* file = entryNamed(entries, "P0415001.DAT");
  const DirectoryEntry* directory = entryNamed(entries, "20060415");
  ASSERT_NE(file, nullptr);
  ASSERT_NE(directory, nullptr);
  EXPECT_FALSE(file->directory);
  EXPECT_FALSE(file->hidden);
  EXPECT_FALSE(file->system);
  EXPECT_TRUE(directory->directory);
}

TEST(SystemDiskListing, ExtensionPatternSelectsMatchingNamesIgnoringCase) {
  ScratchDir dir;
  writeFile(dir.path() / "a.dat", "x");
  writeFile(dir.path() / "b.DAT", "x");
  writeFile(dir.path() / "c.txt", "x");
  EXPECT_EQ(namesOf(systemDisk().list(patternIn(dir, "*.DAT"))),
            (std::vector<std::string>{"a.dat", "b.DAT"}));
}

TEST(SystemDiskListing, MissingDirectoryListsNothing) {
  ScratchDir dir;
  EXPECT_TRUE(systemDisk().list(dir.file("missing") + kPathSeparator + "*.*").empty());
}

TEST(SystemDiskListing, PatternMatchingNothingListsNothing) {
  ScratchDir dir;
  writeFile(dir.path() / "a.dat", "x");
  EXPECT_TRUE(systemDisk().list(patternIn(dir, "*.XYZ")).empty());
}

TEST(SystemDiskAppend, CreatesAMissingFile) {
  ScratchDir dir;
  EXPECT_TRUE(systemDisk().appendToFile(dir.file("log.out"), "line\r\n"));
  EXPECT_EQ(readFile(dir.file("log.out")), "line\r\n");
}

TEST(SystemDiskAppend, AppendsToAnExistingFileWithoutTruncating) {
  ScratchDir dir;
  writeFile(dir.file("log.out"), "old\r\n");
  EXPECT_TRUE(systemDisk().appendToFile(dir.file("log.out"), "new\r\n"));
  EXPECT_EQ(readFile(dir.file("log.out")), "old\r\nnew\r\n");
}

TEST(SystemDiskAppend, FailsInAMissingDirectory) {
  ScratchDir dir;
  EXPECT_FALSE(systemDisk().appendToFile(dir.file("missing/log.out"), "x"));
}

TEST(SystemDiskOpenFile, ReportsLengthAndReadsAtOffsets) {
  ScratchDir dir;
  writeFile(dir.file("f"), "0123456789");
  const auto file = systemDisk().openForReading(dir.file("f"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->length(), 10);
  char buffer[4] = {};
  EXPECT_EQ(file->readAt(8, buffer, 4), 2);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(file->readAt(0, buffer, 2), 2);
  EXPECT_EQ(std::string(buffer, 2), "01");
  EXPECT_EQ(file->readAt(10, buffer, 4), 0);
  EXPECT_EQ(file->readAt(-1, buffer, 1), -1);
}

TEST(SystemDiskOpenFile, MissingFileDoesNotOpen) {
  ScratchDir dir;
  EXPECT_EQ(systemDisk().openForReading(dir.file("missing")), nullptr);
}

}  // namespace
}  // namespace platform
