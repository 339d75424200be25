#include "walk/archive_walk.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/memory_disk.h"
#include "tests/support/recording_sink.h"
#include "verify/verification_log.h"

namespace walk {

namespace {

using platform::DirectoryEntry;
using Strings = std::vector<std::string>;

DirectoryEntry file(const std::string& name, bool hidden = false, bool system = false) {
  return DirectoryEntry{name, hidden, system, false};
}
DirectoryEntry directory(const std::string& name) {
  return DirectoryEntry{name, false, false, true};
}

// A walk over an in-memory disk "g". Its files are empty, so each verified file
// shows as its " File" line (and an unusable error).
class WalkTest : public ::testing::Test {
 protected:
  WalkTest() : verifier(disk) {
    settings.archiveDisk = "g";
    settings.fileExtension = "*";
    settings.streamLetter = 'P';
    verifier.addListener(logged);
  }

  const std::string root = *platform::diskRoot("g");
  std::string in(const std::string& dir) const { return root + dir + platform::kPathSeparator; }

  // The walk's info lines, without the unusable-file errors.
  Strings walk() {
    walkArchive(settings, disk, verifier);
    return log.messagesAt(logging::LOG_INFO);
  }

  testsupport::MemoryDisk disk;
  WalkSettings settings;
  RecordingSink log;
  verify::VerificationLog logged{log};
  verify::ArchiveVerifier verifier;
};

TEST(IsDateDirectory, TestsOnlyTheFirstEightCharacters) {
  using namespace std::string_view_literals;
  for (const auto name : {"20060415"sv, "20060415old"sv, "123456789"sv})
    EXPECT_EQ(isDateDirectory(name), 1);
  // The last is cut short of its eighth digit: nothing is read past a name.
  for (const auto name :
       {"2006041"sv, "2006-04-15"sv, "2006\000415"sv, ""sv, "20060415"sv.substr(0, 7)})
    EXPECT_EQ(isDateDirectory(name), 0);
}

TEST_F(WalkTest, SubdirModeWalksOnlyDateDirectoriesAnnouncingEachFirst) {
  for (const char* name : {".", "20060415", "2006041", "2006-04-15", "20060416old"})
    disk.add(root, directory(name));
  disk.add(root, file("20060415"));
  disk.add(root, file("P0000001.DAT"));
  disk.add(root, DirectoryEntry{"12345678", true, true, true});  // hidden, system: taken
  for (const char* name : {".", ".."}) disk.add(in("20060415"), directory(name));
  disk.add(in("20060415"), file("P0415001.DAT"));
  disk.add(in("20060415"), directory("P0415SUB"));
  disk.add(in("2006041"), file("P1.DAT"));
  EXPECT_EQ(walk(), (Strings{" Directory 20060415", " File " + in("20060415") + "P0415001.DAT",
                             " Directory 20060416old", " Directory 12345678"}));
  EXPECT_EQ(verifier.counters().directoryCount, 3);
  EXPECT_EQ(verifier.counters().fileCount, 1);
}

TEST_F(WalkTest, PlaneModeTakesTheRootFilesOfTheStream) {
  settings.planeMode = 1;
  disk.add(root, directory("20060415"));
  disk.add(in("20060415"), file("P0415002.DAT"));
  for (const char* name : {"P1.DAT", "p2.DAT", "T3.DAT"}) disk.add(root, file(name));
  disk.add(root, file("P4.DAT", true));
  disk.add(root, file("P5.DAT", false, true));
  EXPECT_EQ(walk(), (Strings{" File " + root + "P1.DAT", " File " + root + "p2.DAT"}));
  settings.triggerStream = 1;
  log.calls.clear();
  EXPECT_EQ(walk(), (Strings{" File " + root + "T3.DAT"}));
  EXPECT_EQ(verifier.counters().directoryCount, 0);
}

TEST_F(WalkTest, TheSecondStreamLetterIsTheCodePlus32In8Bits) {
  settings.planeMode = 1;
  for (const char* name : {"1A.DAT", "QB.DAT", "\x90X.DAT", "qD.DAT"}) disk.add(root, file(name));
  settings.streamLetter = '1';
  EXPECT_EQ(walk(), (Strings{" File " + root + "1A.DAT", " File " + root + "QB.DAT"}));
  settings.streamLetter = 'p';
  log.calls.clear();
  EXPECT_EQ(walk(), (Strings{" File " + root + "\x90X.DAT"}));
}

TEST_F(WalkTest, ExtensionShapesTheFilePatternButNotTheRootPattern) {
  settings.fileExtension = "DAT";
  disk.add(root, directory("20060415"));
  walkArchive(settings, disk, verifier);
  EXPECT_EQ(disk.patterns, (Strings{root + "*.*", in("20060415") + "*.DAT"}));
  settings.planeMode = 1;
  disk.patterns.clear();
  walkArchive(settings, disk, verifier);
  EXPECT_EQ(disk.patterns, (Strings{root + "*.DAT"}));
}

TEST_F(WalkTest, LongDiskAndNamesAreUsedInFull) {
  const std::string diskName(49, 'd'), name = "20060415" + std::string(120, 'x');
  settings.archiveDisk = diskName;
  const std::string longRoot = *platform::diskRoot(diskName);
  disk.add(longRoot, directory(name));
  disk.add(longRoot + name + platform::kPathSeparator, file("P" + std::string(100, 'y')));
  EXPECT_EQ(walk(),
            (Strings{" Directory " + name, " File " + longRoot + name + platform::kPathSeparator +
                                               "P" + std::string(100, 'y')}));
}

}  // namespace

}  // namespace walk
