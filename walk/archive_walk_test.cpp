#include "walk/archive_walk.h"

#include <gtest/gtest.h>

#include "log/recording_sink.h"
#include "platform/fake_directory_lister.h"
#include "platform/path_rules.h"
#include "verify/archive_verifier.h"

namespace {

using platform::DirectoryEntry;
using Strings = std::vector<std::string>;

DirectoryEntry file(const std::string& name) { return DirectoryEntry{name, false, false, false}; }
DirectoryEntry directory(const std::string& name) {
  return DirectoryEntry{name, false, false, true};
}

// A walk over an in-memory disk "g". The files do not exist, so each verified
// file shows as its " File" line (and an unusable error).
class WalkTest : public ::testing::Test {
 protected:
  WalkTest() : verifier(lister, platform::systemProfileReader()) {
    verifier.archiveDisk.fill("g");
    verifier.fileExtension.fill("*");
    verifier.streamLetter = 'P';
    verifier.streamLetterAlt = 'p';
    verifier.log = &log;
  }

  std::string root() const { return *platform::diskRoot("g"); }
  std::string inDirectory(const std::string& dir) const {
    return root() + dir + platform::kPathSeparator;
  }

  // The walk's info lines, without the unusable-file errors.
  Strings walk() {
    verifier.walkArchive();
    Strings lines;
    for (const auto& call : log.calls) {
      if (call.level == LOG_INFO) lines.push_back(call.message);
    }
    return lines;
  }

  platform::FakeDirectoryLister lister;
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
  lister.add(root(), directory("."));
  lister.add(root(), directory("20060415"));
  lister.add(root(), directory("20060416"));
  lister.add(inDirectory("20060415"), directory("."));
  lister.add(inDirectory("20060415"), directory(".."));
  lister.add(inDirectory("20060415"), file("P0415001.DAT"));
  lister.add(inDirectory("20060415"), file("P0415002.DAT"));
  EXPECT_EQ(walk(),
            (Strings{" Directory 20060415", " File " + inDirectory("20060415") + "P0415001.DAT",
                     " File " + inDirectory("20060415") + "P0415002.DAT", " Directory 20060416"}));
  EXPECT_EQ(verifier.directoryCount, 2);
  EXPECT_EQ(verifier.fileCount, 2);
}

TEST_F(WalkTest, SubdirModeSkipsOtherDirectoriesRootFilesAndSubdirectories) {
  lister.add(root(), directory("2006041"));
  lister.add(root(), directory("2006-04-15"));
  lister.add(root(), file("20060415"));
  lister.add(root(), file("P0000001.DAT"));
  lister.add(root(), directory("20060415old"));
  lister.add(root(), DirectoryEntry{"12345678", true, true, true});  // hidden, system: taken
  lister.add(inDirectory("20060415old"), directory("P0415SUB"));
  lister.add(inDirectory("2006041"), file("P1.DAT"));
  EXPECT_EQ(walk(), (Strings{" Directory 20060415old", " Directory 12345678"}));
  EXPECT_EQ(verifier.fileCount, 0);
}

TEST_F(WalkTest, PlaneModeScansTheRootOnly) {
  verifier.planeMode = 1;
  lister.add(root(), directory("20060415"));
  lister.add(root(), file("P0415001.DAT"));
  lister.add(inDirectory("20060415"), file("P0415002.DAT"));
  EXPECT_EQ(walk(), (Strings{" File " + root() + "P0415001.DAT"}));
  EXPECT_EQ(verifier.directoryCount, 0);
}

TEST_F(WalkTest, PermanentStreamTakesBothLetterForms) {
  verifier.planeMode = 1;
  for (const char* name : {"P0415001.DAT", "p0415001.DAT", "T0415001.DAT"})
    lister.add(root(), file(name));
  EXPECT_EQ(walk(),
            (Strings{" File " + root() + "P0415001.DAT", " File " + root() + "p0415001.DAT"}));
}

TEST_F(WalkTest, TriggerStreamTakesTheOtherFiles) {
  verifier.planeMode = 1;
  verifier.triggerStream = 1;
  for (const char* name : {"P0415001.DAT", "p0415001.DAT", "T0415001.DAT"})
    lister.add(root(), file(name));
  EXPECT_EQ(walk(), (Strings{" File " + root() + "T0415001.DAT"}));
}

TEST_F(WalkTest, HiddenSystemAndDirectoryEntriesAreNotVerified) {
  verifier.planeMode = 1;
  lister.add(root(), DirectoryEntry{"P1.DAT", true, false, false});
  lister.add(root(), DirectoryEntry{"P2.DAT", false, true, false});
  lister.add(root(), DirectoryEntry{"P3.DAT", false, false, true});
  lister.add(root(), file("P4.DAT"));
  EXPECT_EQ(walk(), (Strings{" File " + root() + "P4.DAT"}));
}

TEST_F(WalkTest, ExtensionShapesTheFilePatternButNotTheRootPattern) {
  verifier.fileExtension.fill("DAT");
  verifier.walkArchive();
  EXPECT_EQ(lister.patterns, (Strings{root() + "*.*"}));
  lister.add(root(), directory("20060415"));
  lister.patterns.clear();
  verifier.walkArchive();
  EXPECT_EQ(lister.patterns, (Strings{root() + "*.*", inDirectory("20060415") + "*.DAT"}));
  verifier.planeMode = 1;
  lister.patterns.clear();
  verifier.walkArchive();
  EXPECT_EQ(lister.patterns, (Strings{root() + "*.DAT"}));
}

TEST_F(WalkTest, LongDiskAndNamesAreUsedInFull) {
  const std::string disk(49, 'd');
  const std::string name = "20060415" + std::string(120, 'x');
  verifier.archiveDisk.fill(disk);
  const std::string longRoot = *platform::diskRoot(disk);
  lister.add(longRoot, directory(name));
  lister.add(longRoot + name + platform::kPathSeparator, file("P" + std::string(100, 'y')));
  EXPECT_EQ(walk(),
            (Strings{" Directory " + name, " File " + longRoot + name + platform::kPathSeparator +
                                               "P" + std::string(100, 'y')}));
}

TEST_F(WalkTest, WithoutLogTheWalkStillCounts) {
  verifier.log = nullptr;
  lister.add(root(), directory("20060415"));
  lister.add(inDirectory("20060415"), file("P1.DAT"));
  verifier.walkArchive();
  EXPECT_EQ(verifier.directoryCount, 1);
  EXPECT_EQ(verifier.fileCount, 1);
  EXPECT_EQ(verifier.errorCount, 1);
}

}  // namespace
