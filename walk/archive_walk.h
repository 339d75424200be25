#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disk.h"
#include "verify/archive_verifier.h"
#include "walk/walk_progress.h"

namespace walk {

// Which files of the disk the walk verifies.
struct WalkSettings {
  std::string archiveDisk;
  uint8_t planeMode = 0;      // nonzero: data files in the disk's root
  uint8_t triggerStream = 0;  // nonzero: the files not marked with a stream letter
  std::string fileExtension;
  char streamLetter = 0;  // its second form, the code plus 32 in 8 bits, marks the stream too
  // Where the run's log files lead (Disk::resolve): never verified as data.
  std::vector<std::string> runLogs;
};

// Told what a walk selects, in its order: each date directory as it is entered
// (none in plane mode), then the files of that directory's listing.
class WalkSelection {
 public:
  virtual ~WalkSelection() = default;
  // name: the directory's name as it is listed.
  virtual void directoryEntered(const std::string& name) = 0;
  // name: the directory's as progress shows it ("" for the disk's root); paths
  // as ArchiveVerifier::verifyFile takes them.
  virtual void filesSelected(std::string_view name, const std::vector<std::string>& paths) = 0;
  // path: a directory whose listing could not be read (the root's too), as
  // the host names it, ending in the separator; it selects nothing.
  virtual void directoryUnreadable(const std::string& path) = 0;
};

// Tells selection what walkArchive verifies, in the same order, without
// opening a file.
void selectArchiveFiles(const WalkSettings& settings, platform::Disk& disk,
                        WalkSelection& selection);

// Verifies every data file of the selected stream: those of the disk's root in
// plane mode, else those of every root directory whose name begins with eight
// digits, each directory entered through
// verifier.enterDirectory first. In a directory, hidden, system and directory entries
// are skipped, and a name's first character must (or, for the trigger stream,
// must not) be one of the two stream letters. Entries that lead outside the
// disk and the run's own logs are skipped too. A directory that cannot be
// listed gives nothing, and is told to verifier.directoryUnreadable. progress,
// when given, hears of each listing before its files are verified.
void walkArchive(const WalkSettings& settings, platform::Disk& disk,
                 verify::ArchiveVerifier& verifier, WalkProgress* progress = nullptr);

// Whether the disk that setting names can be walked, empty or not; a failure
// says why not: no disk is named, there is no such disk or folder (with the
// host's hint where the setting is misspelled), or it is not a folder.
base::Status walkableDisk(std::string_view setting, platform::Disk& disk);

// 1 when c is one of the characters '0' to '9', else 0.
int isDigitChar(char c);

// 1 when the first eight characters of name are decimal digits, else 0; what
// follows them is not looked at.
int isDateDirectory(std::string_view name);

}  // namespace walk
