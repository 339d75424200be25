#include "walk/walk_progress.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/memory_disk.h"
#include "walk/archive_walk.h"

namespace walk {

namespace {

using Strings = std::vector<std::string>;

// Records what the walk tells a progress, in order.
class RecordingProgress : public WalkProgress {
 public:
  void filesListed(std::string_view directory, std::size_t count) override {
    events.push_back("listed " + std::string(directory) + " " + std::to_string(count));
  }
  void fileVerified(const verify::ArchiveVerifier& verifier, bool /*usable*/) override {
    events.push_back("verified " + verifier.currentFile());
  }
  Strings events;
};

TEST(WalkProgressTest, HearsEachListingBeforeItsFiles) {
  testsupport::MemoryDisk disk;
  const std::string root = *platform::diskRoot("g");
  const auto file = [](const char* name) {
    return platform::DirectoryEntry{name, false, false, false};
  };
  disk.add(root, platform::DirectoryEntry{"20060615", false, false, true});
  disk.add(root, platform::DirectoryEntry{"20060616", false, false, true});
  const std::string first = root + "20060615" + platform::kPathSeparator;
  disk.add(first, file("P1.DAT"));
  disk.add(first, file("T2.DAT"));  // the other stream: not counted
  disk.add(first, file("P3.DAT"));
  WalkSettings settings;
  settings.archiveDisk = "g";
  settings.fileExtension = "*";
  settings.streamLetter = 'P';
  verify::ArchiveVerifier verifier(disk);
  RecordingProgress progress;
  verifier.addListener(progress);
  walkArchive(settings, disk, verifier, &progress);
  EXPECT_EQ(progress.events, (Strings{"listed 20060615 2", "verified " + first + "P1.DAT",
                                      "verified " + first + "P3.DAT", "listed 20060616 0"}));
}

}  // namespace

}  // namespace walk
