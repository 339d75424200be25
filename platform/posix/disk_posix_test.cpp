#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/disk.h"
#include "platform/path_rules.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

std::vector<DirectoryEntry> listAll(const ScratchDir& dir) {
  return systemDisk().list(dir.path().string() + "/*.*");
}

TEST(PosixDiskListing, ListsDotEntriesAsHiddenDirectoriesInNameOrder) {
  ScratchDir dir;
  writeFile(dir.path() / "p0002.dat", "x");
  writeFile(dir.path() / "P0002.DAT", "x");
  writeFile(dir.path() / "a", "x");
  writeFile(dir.path() / ".hidden", "x");
  const auto entries = listAll(dir);
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", ".hidden", "a", "P0002.DAT", "p0002.dat"}));
  EXPECT_TRUE(entries[0].directory && entries[0].hidden);
  EXPECT_TRUE(entries[1].directory && entries[1].hidden);
  EXPECT_TRUE(entries[2].hidden && !entries[2].directory);
}

TEST(PosixDiskListing, FifoIsASystemEntry) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo(dir.file("P0001.DAT").c_str(), 0600), 0);
  const auto entries = systemDisk().list(dir.path().string() + "/P*");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].system);
  EXPECT_FALSE(entries[0].directory);
}

TEST(PosixDiskListing, LinksAreFollowedAndBrokenLinksArePlainFiles) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "real");
  std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "20060415");
  std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "P0001.DAT");
  const auto entries = systemDisk().list(dir.path().string() + "/*.*");
  bool sawLinkedDirectory = false, sawBrokenLink = false;
  for (const auto& entry : entries) {
    if (entry.name == "20060415") sawLinkedDirectory = entry.directory;
    if (entry.name == "P0001.DAT") sawBrokenLink = !entry.directory && !entry.system;
  }
  EXPECT_TRUE(sawLinkedDirectory);
  EXPECT_TRUE(sawBrokenLink);
}

TEST(PosixDiskListing, StarDotMatchesNamesWithoutDot) {
  ScratchDir dir;
  writeFile(dir.path() / "P0001.DAT", "x");
  writeFile(dir.path() / "NODOT", "x");
  std::vector<std::string> names;
  for (const auto& entry : systemDisk().list(dir.path().string() + "/*.")) {
    names.push_back(entry.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"NODOT"}));
}

TEST(PosixDiskAppend, CreatesFileReadableAndWritableByOwnerOnly) {
  testsupport::ScratchDir dir;
  ASSERT_TRUE(systemDisk().appendToFile(dir.file("log.out"), "x"));
  struct stat info;
  ASSERT_EQ(::stat(dir.file("log.out").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(PosixDiskAppend, KeepsPermissionsOfAnExistingFile) {
  testsupport::ScratchDir dir;
  testsupport::writeFile(dir.file("log.out"), "x");
  ::chmod(dir.file("log.out").c_str(), 0644);
  ASSERT_TRUE(systemDisk().appendToFile(dir.file("log.out"), "y"));
  struct stat info;
  ASSERT_EQ(::stat(dir.file("log.out").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(PosixDiskAppend, FifoWithoutAReaderFailsAtOnce) {
  testsupport::ScratchDir dir;
  ASSERT_EQ(::mkfifo(dir.file("log.fifo").c_str(), 0600), 0);
  EXPECT_FALSE(systemDisk().appendToFile(dir.file("log.fifo"), "x"));
}

TEST(PosixDiskResolve, FollowsLinksAlsoWhereTheyLeadNowhere) {
  testsupport::ScratchDir dir;
  const std::string real = std::filesystem::canonical(dir.path()).string();
  std::filesystem::create_directory(dir.path() / "d");
  std::filesystem::create_directory_symlink("d", dir.path() / "link");
  std::filesystem::create_symlink("d/new.log", dir.path() / "dangling");
  std::filesystem::create_symlink("loop", dir.path() / "loop");
  EXPECT_EQ(systemDisk().resolve(dir.file("link")), real + "/d");
  EXPECT_EQ(systemDisk().resolve(dir.file("link/missing")), real + "/d/missing");
  EXPECT_EQ(systemDisk().resolve(dir.file("dangling")), real + "/d/new.log");
  EXPECT_EQ(systemDisk().resolve(dir.file("loop")), std::nullopt);
  EXPECT_EQ(systemDisk().resolve(dir.file("missing/x")), std::nullopt);
}

TEST(PosixPathRules, InsideMeansTheDirectoryOrBelowIt) {
  EXPECT_TRUE(isInside("/a/disk", "/a/disk"));
  EXPECT_TRUE(isInside("/a/disk/x", "/a/disk/"));
  EXPECT_FALSE(isInside("/a/disk2/x", "/a/disk"));
  EXPECT_TRUE(isInside("/anything", "/"));
}

}  // namespace
}  // namespace platform
