// The POSIX disk: listing flags and order, log appends, where paths lead.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/disk.h"
#include "platform/path_rules.h"
#include "tests/support/outcomes.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::problemOf;
using testsupport::ScratchDir;
using testsupport::valueOf;
using testsupport::writeFile;

// "name:flags" of each entry listed, flags h(idden) s(ystem) d(irectory) l(ink).
std::vector<std::string> listed(const ScratchDir& dir, const std::string& wildcard) {
  std::vector<std::string> lines;
  const base::Outcome<std::vector<DirectoryEntry>> entries =
      systemDisk().list(dir.path().string() + "/" + wildcard);
  for (const DirectoryEntry& entry : *entries) {
    lines.push_back(entry.name + ":" + (entry.hidden ? "h" : "") + (entry.system ? "s" : "") +
                    (entry.directory ? "d" : "") + (entry.link ? "l" : ""));
  }
  return lines;
}

TEST(PosixDiskListing, NameOrderAndTheFlagsTheWalkNeeds) {
  ScratchDir dir;
  for (const char* name : {"p0002.dat", "P0002.DAT", "a", ".hidden", "NODOT"}) {
    writeFile(dir.path() / name, "x");
  }
  ASSERT_EQ(::mkfifo(dir.file("P0001.DAT").c_str(), 0600), 0);
  fs::create_directory(dir.path() / "real");
  fs::create_directory_symlink("real", dir.path() / "20060415");
  fs::create_symlink("nowhere", dir.path() / "P0003.DAT");
  EXPECT_EQ(listed(dir, "*.*"),
            (std::vector<std::string>{".:hd", "..:hd", ".hidden:h", "20060415:dl",
                                      "a:", "NODOT:", "P0001.DAT:s",
                                      "P0002.DAT:", "p0002.dat:", "P0003.DAT:l", "real:d"}));
  EXPECT_EQ(listed(dir, "*."), (std::vector<std::string>{"20060415:dl", "a:", "NODOT:", "real:d"}));
}

TEST(PosixDiskListing, NoSuchDirectoryListsNothingAndOneThatCannotBeReadFails) {
  ScratchDir dir;
  EXPECT_EQ(valueOf(systemDisk().list(dir.file("gone") + "/*.*")), std::vector<DirectoryEntry>{});
  writeFile(dir.file("plain"), "x");  // a file where a directory was expected
  EXPECT_EQ(valueOf(systemDisk().list(dir.file("plain") + "/*.*")), std::nullopt);
  fs::create_directory(dir.path() / "closed");
  ::chmod(dir.file("closed").c_str(), 0);
  if (::geteuid() != 0) {  // root reads it all the same
    EXPECT_EQ(valueOf(systemDisk().list(dir.file("closed") + "/*.*")), std::nullopt);
  }
  ::chmod(dir.file("closed").c_str(), 0700);
}

TEST(PosixDiskAppend, CreatesForTheOwnerOnlyKeepsExistingModesAndNeverWaitsForAFifo) {
  ScratchDir dir;
  writeFile(dir.file("old.log"), "x");
  ::chmod(dir.file("old.log").c_str(), 0644);
  ASSERT_TRUE(systemDisk().appendToFile(dir.file("new.log"), "x"));
  ASSERT_TRUE(systemDisk().appendToFile(dir.file("old.log"), "y"));
  struct stat info;
  ASSERT_EQ(::stat(dir.file("new.log").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(dir.file("old.log").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  ASSERT_EQ(::mkfifo(dir.file("log.fifo").c_str(), 0600), 0);
  EXPECT_FALSE(systemDisk().appendToFile(dir.file("log.fifo"), "x"));
}

TEST(PosixDiskResolve, FollowsLinksAlsoWhereTheyLeadNowhere) {
  ScratchDir dir;
  const std::string real = fs::canonical(dir.path()).string();
  fs::create_directory(dir.path() / "d");
  fs::create_directory_symlink("d", dir.path() / "link");
  fs::create_symlink("d/new.log", dir.path() / "dangling");
  fs::create_symlink("loop", dir.path() / "loop");
  EXPECT_EQ(valueOf(systemDisk().resolve(dir.file("link"))), real + "/d");
  EXPECT_EQ(valueOf(systemDisk().resolve(dir.file("link/missing"))), real + "/d/missing");
  EXPECT_EQ(valueOf(systemDisk().resolve(dir.file("dangling"))), real + "/d/new.log");
  EXPECT_EQ(valueOf(systemDisk().resolve(dir.file("loop"))), std::nullopt);
  EXPECT_EQ(valueOf(systemDisk().resolve(dir.file("missing/x"))), std::nullopt);
  // A bare name and a bare link target: both from the working directory.
  const fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  fs::create_symlink("d/bare.log", dir.path() / "bare");
  EXPECT_EQ(valueOf(systemDisk().resolve("bare")), real + "/d/bare.log");
  EXPECT_EQ(valueOf(systemDisk().resolve("new.log")), real + "/new.log");
  fs::current_path(previous);
}

TEST(PosixDiskInspect, IdentityIsTheFileWhateverNamesItAndLinksAreCounted) {
  ScratchDir dir;
  writeFile(dir.path() / "a", "x");
  fs::create_hard_link(dir.path() / "a", dir.path() / "b");
  fs::create_symlink("a", dir.path() / "c");
  const base::Outcome<FileFacts> a = systemDisk().inspect(dir.file("a"));
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->regular && !a->directory);
  EXPECT_EQ(a->links, 2u);
  EXPECT_EQ(a->size, 1);
  EXPECT_GT(a->modified, 1600000000);  // written just now
  EXPECT_EQ(systemDisk().inspect(dir.file("b"))->identity, a->identity);
  EXPECT_EQ(systemDisk().inspect(dir.file("c"))->identity, a->identity);
  EXPECT_TRUE(systemDisk().inspect(dir.path().string() + "/")->directory);
  EXPECT_FALSE(systemDisk().inspect("/dev/null")->regular);
  EXPECT_FALSE(systemDisk().inspect(dir.file("missing")));
}

TEST(PosixDiskReplace, NewContentWholeKeepsModeAndLinksAndFailureChangesNothing) {
  ScratchDir dir;
  writeFile(dir.file("out.txt"), "old");
  ::chmod(dir.file("out.txt").c_str(), 0640);
  fs::create_symlink("out.txt", dir.path() / "link");
  EXPECT_EQ(problemOf(systemDisk().replaceFile(dir.file("link"), "new")), std::nullopt);
  EXPECT_EQ(testsupport::readFile(dir.file("out.txt")), "new");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link"));
  struct stat info;
  ASSERT_EQ(::stat(dir.file("out.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(problemOf(systemDisk().replaceFile(dir.file("fresh.txt"), "x")), std::nullopt);
  EXPECT_EQ(testsupport::readFile(dir.file("fresh.txt")), "x");
  EXPECT_EQ(problemOf(systemDisk().replaceFile("/dev/null", "to a device as it is")), std::nullopt);
  EXPECT_FALSE(systemDisk().replaceFile(dir.file("missing/x"), "x"));
  EXPECT_EQ(problemOf(systemDisk().replaceFile(dir.path().string(), "x")), "it is a directory");

  // Past the file size limit: the old content stays, no new file is left over.
  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::optional<std::string> problem =
      problemOf(systemDisk().replaceFile(dir.file("out.txt"), std::string(4096, 'y')));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(problem, "File too large");
  EXPECT_EQ(testsupport::readFile(dir.file("out.txt")), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(problemOf(systemDisk().replaceFile("/dev/full", "x")), "No space left on device");
  }
}

TEST(PosixPathRules, DiskIsADirectoryAndInsideMeansItOrBelow) {
  EXPECT_EQ(diskRoot("g"), "g/");
  EXPECT_EQ(diskRoot("/mnt/cdrom/"), "/mnt/cdrom/");
  EXPECT_EQ(diskRoot(""), std::nullopt);  // no disk, never the file system's root
  EXPECT_TRUE(isInside("/a/disk", "/a/disk") && isInside("/a/disk/x", "/a/disk/"));
  EXPECT_TRUE(isInside("/anything", "/"));
  EXPECT_FALSE(isInside("/a/disk2/x", "/a/disk"));
}

}  // namespace
}  // namespace platform
