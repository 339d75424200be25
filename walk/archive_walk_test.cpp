#include "walk/archive_walk.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/memory_disk.h"
#include "tests/support/recording_sink.h"
#include "verify/archive_verifier.h"

namespace {

using platform::DirectoryEntry;
using Strings = std::vector<std::string>;

DirectoryEntry file(const std::string& name) { return DirectoryEntry{name, false, false, false}; }
DirectoryEntry directory(const std::string& name) {
  return DirectoryEntry{name, false, false, true};
}

// A walk over an in-memory disk "g". Its files are empty, so each verified file
// shows as its " File" line (and an unusable error).
class WalkTest : public ::testing::Test {
 protected:
  WalkTest() : verifier(disk) {
    settings.archiveDisk.fill("g");
    settings.fileExtension.fill("*");
    settings.streamLetter = 'P';
    settings.streamLetterAlt = 'p';
    verifier.log = &log;
  }

  std::string root() const { return *platform::diskRoot("g"); }
  std::string inDirectory(const std::string& dir) const {
    return root() + dir + platform::kPathSeparator;
  }

  // The walk's info lines, without the unusable-file errors.
  Strings walk() {
    walkArchive(settings, disk, verifier);
    Strings lines;
    for (const auto& call : log.calls) {
      if (call.level == LOG_INFO) lines.push_back(call.message);
    }
    return lines;
  }

  testsupport::MemoryDisk disk;
  WalkSettings settings;
  RecordingSink log;
  ArchiveVerifier verifier;
};

TEST(IsDateDirectory, TestsOnlyTheFirstEightCharacters) {
  EXPECT_EQ(isDateDirectory("20060415"), 1);
  EXPECT_EQ(isDateDirectory("20060415old"), 1);
  EXPECT_EQ(isDateDirectory("123456789"), 1);
  EXPECT_EQ(isDateDirectory("2006041"), 0);
  EXPECT_EQ(isDateDirectory("2006-04-15"), 0);
  EXPECT_EQ(isDateDirectory("2006041x"), 0);
  EXPECT_EQ(isDateDirectory(""), 0);
  const char withZero[] = {'2', '0', '0', '6', '\0', '4', '1', '5'};
  EXPECT_EQ(isDateDirectory(std::string_view(withZero, sizeof withZero)), 0);
}

TEST_F(WalkTest, SubdirModeAnnouncesDateDirectoriesBeforeTheirFiles) {
  disk.add(root(), directory("."));
  disk.add(root(), directory("20060415"));
  disk.add(root(), directory("20060416"));
  disk.add(inDirectory("20060415"), directory("."));
  disk.add(inDirectory("20060415"), directory(".."));
  disk.add(inDirectory("20060415"), file("P0415001.DAT"));
  disk.add(inDirectory("20060415"), file("P0415002.DAT"));
  EXPECT_EQ(walk(),
            (Strings{" Directory 20060415", " File " + inDirectory("20060415") + "P0415001.DAT",
                     " File " + inDirectory("20060415") + "P0415002.DAT", " Directory 20060416"}));
  EXPECT_EQ(verifier.counters.directoryCount, 2);
  EXPECT_EQ(verifier.counters.fileCount, 2);
}

TEST_F(WalkTest, SubdirModeSkipsOtherDirectoriesRootFilesAndSubdirectories) {
  disk.add(root(), directory("2006041"));
  disk.add(root(), directory("2006-04-15"));
  disk.add(root(), file("20060415"));
  disk.add(root(), file("P0000001.DAT"));
  disk.add(root(), directory("20060415old"));
  disk.add(root(), DirectoryEntry{"12345678", true, true, true});  // hidden, system: taken
  disk.add(inDirectory("20060415old"), directory("P0415SUB"));
  disk.add(inDirectory("2006041"), file("P1.DAT"));
  EXPECT_EQ(walk(), (Strings{" Directory 20060415old", " Directory 12345678"}));
  EXPECT_EQ(verifier.counters.fileCount, 0);
}

TEST_F(WalkTest, PlaneModeScansTheRootOnly) {
  settings.planeMode = 1;
  disk.add(root(), directory("20060415"));
  disk.add(root(), file("P0415001.DAT"));
  disk.add(inDirectory("20060415"), file("P0415002.DAT"));
  EXPECT_EQ(walk(), (Strings{" File " + root() + "P0415001.DAT"}));
  EXPECT_EQ(verifier.counters.directoryCount, 0);
}

TEST_F(WalkTest, PermanentStreamTakesBothLetterForms) {
  settings.planeMode = 1;
  for (const char* name : {"P0415001.DAT", "p0415001.DAT", "T0415001.DAT"})
    disk.add(root(), file(name));
  EXPECT_EQ(walk(),
            (Strings{" File " + root() + "P0415001.DAT", " File " + root() + "p0415001.DAT"}));
}

TEST_F(WalkTest, TriggerStreamTakesTheOtherFiles) {
  settings.planeMode = 1;
  settings.triggerStream = 1;
  for (const char* name : {"P0415001.DAT", "p0415001.DAT", "T0415001.DAT"})
    disk.add(root(), file(name));
  EXPECT_EQ(walk(), (Strings{" File " + root() + "T0415001.DAT"}));
}

TEST_F(WalkTest, HiddenSystemAndDirectoryEntriesAreNotVerified) {
  settings.planeMode = 1;
  disk.add(root(), DirectoryEntry{"P1.DAT", true, false, false});
  disk.add(root(), DirectoryEntry{"P2.DAT", false, true, false});
  disk.add(root(), DirectoryEntry{"P3.DAT", false, false, true});
  disk.add(root(), file("P4.DAT"));
  EXPECT_EQ(walk(), (Strings{" File " + root() + "P4.DAT"}));
}

TEST_F(WalkTest, ExtensionShapesTheFilePatternButNotTheRootPattern) {
  settings.fileExtension.fill("DAT");
  walkArchive(settings, disk, verifier);
  EXPECT_EQ(disk.patterns, (Strings{root() + "*.*"}));
  disk.add(root(), directory("20060415"));
  disk.patterns.clear();
  walkArchive(settings, disk, verifier);
  EXPECT_EQ(disk.patterns, (Strings{root() + "*.*", inDirectory("20060415") + "*.DAT"}));
  settings.planeMode = 1;
  disk.patterns.clear();
  walkArchive(settings, disk, verifier);
  EXPECT_EQ(disk.patterns, (Strings{root() + "*.DAT"}));
}

TEST_F(WalkTest, LongDiskAndNamesAreUsedInFull) {
  const std::string diskName(49, 'd');
  const std::string name = "20060415" + std::string(120, 'x');
  settings.archiveDisk.fill(diskName);
  const std::string longRoot = *platform::diskRoot(diskName);
  disk.add(longRoot, directory(name));
  disk.add(longRoot + name + platform::kPathSeparator, file("P" + std::string(100, 'y')));
  EXPECT_EQ(walk(),
            (Strings{" Directory " + name, " File " + longRoot + name + platform::kPathSeparator +
                                               "P" + std::string(100, 'y')}));
}

TEST_F(WalkTest, WithoutLogTheWalkStillCounts) {
  verifier.log = nullptr;
  disk.add(root(), directory("20060415"));
  disk.add(inDirectory("20060415"), file("P1.DAT"));
  walkArchive(settings, disk, verifier);
  EXPECT_EQ(verifier.counters.directoryCount, 1);
  EXPECT_EQ(verifier.counters.fileCount, 1);
  EXPECT_EQ(verifier.counters.errorCount, 1);
}

}  // namespace
