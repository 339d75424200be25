#include "platform/directory_lister.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

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

TEST(SystemDirectoryLister, StarDotStarListsFilesAndDirectoriesWithFlags) {
  ScratchDir dir;
  writeFile(dir.path() / "P0415001.DAT", "x");
  std::filesystem::create_directory(dir.path() / "20060415");
  const auto entries = systemDirectoryLister().list(patternIn(dir, "*.*"));
  const DirectoryEntry* file = entryNamed(entries, "P0415001.DAT");
  const DirectoryEntry* directory = entryNamed(entries, "20060415");
  ASSERT_NE(file, nullptr);
  ASSERT_NE(directory, nullptr);
  EXPECT_FALSE(file->directory);
  EXPECT_FALSE(file->hidden);
  EXPECT_FALSE(file->system);
  EXPECT_TRUE(directory->directory);
}

TEST(SystemDirectoryLister, ExtensionPatternSelectsMatchingNamesIgnoringCase) {
  ScratchDir dir;
  writeFile(dir.path() / "a.dat", "x");
  writeFile(dir.path() / "b.DAT", "x");
  writeFile(dir.path() / "c.txt", "x");
  EXPECT_EQ(namesOf(systemDirectoryLister().list(patternIn(dir, "*.DAT"))),
            (std::vector<std::string>{"a.dat", "b.DAT"}));
}

TEST(SystemDirectoryLister, MissingDirectoryListsNothing) {
  ScratchDir dir;
  EXPECT_TRUE(systemDirectoryLister().list(dir.file("missing") + kPathSeparator + "*.*").empty());
}

TEST(SystemDirectoryLister, PatternMatchingNothingListsNothing) {
  ScratchDir dir;
  writeFile(dir.path() / "a.dat", "x");
  EXPECT_TRUE(systemDirectoryLister().list(patternIn(dir, "*.XYZ")).empty());
}

}  // namespace
}  // namespace platform
