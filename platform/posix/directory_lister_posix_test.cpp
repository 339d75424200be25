#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/directory_lister.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

std::vector<DirectoryEntry> listAll(const ScratchDir& dir) {
  return systemDirectoryLister().list(dir.path().string() + "/*.*");
}

TEST(PosixDirectoryLister, ListsDotEntriesAsHiddenDirectoriesInNameOrder) {
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

TEST(PosixDirectoryLister, FifoIsASystemEntry) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo(dir.file("P0001.DAT").c_str(), 0600), 0);
  const auto entries = systemDirectoryLister().list(dir.path().string() + "/P*");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].system);
  EXPECT_FALSE(entries[0].directory);
}

TEST(PosixDirectoryLister, LinksAreFollowedAndBrokenLinksArePlainFiles) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "real");
  std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "20060415");
  std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "P0001.DAT");
  const auto entries = systemDirectoryLister().list(dir.path().string() + "/*.*");
  bool sawLinkedDirectory = false, sawBrokenLink = false;
  for (const auto& entry : entries) {
    if (entry.name == "20060415") sawLinkedDirectory = entry.directory;
    if (entry.name == "P0001.DAT") sawBrokenLink = !entry.directory && !entry.system;
  }
  EXPECT_TRUE(sawLinkedDirectory);
  EXPECT_TRUE(sawBrokenLink);
}

TEST(PosixDirectoryLister, StarDotMatchesNamesWithoutDot) {
  ScratchDir dir;
  writeFile(dir.path() / "P0001.DAT", "x");
  writeFile(dir.path() / "NODOT", "x");
  std::vector<std::string> names;
  for (const auto& entry : systemDirectoryLister().list(dir.path().string() + "/*.")) {
    names.push_back(entry.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"NODOT"}));
}

}  // namespace
}  // namespace platform
