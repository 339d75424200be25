#include "walk/archive_walk.h"

#include "platform/path_rules.h"
#include "walk/disk_boundary.h"

namespace walk {

int isDigitChar(char c) { return c >= '0' && c <= '9' ? 1 : 0; }

int isDateDirectory(std::string_view name) {
  for (std::size_t i = 0; i < 8; ++i) {
    if (i >= name.size() || name[i] == '\0' || isDigitChar(name[i]) == 0) return 0;
  }
  return 1;
}

namespace {

const std::vector<platform::DirectoryEntry> kNoEntries;

// The second form of a stream letter: its code plus 32 in 8 bits ('P' gives 'p').
char alternateStreamLetter(char letter) {
  return static_cast<char>(static_cast<uint8_t>(static_cast<uint8_t>(letter) + 32u));
}

// Selects the files that the listing of pattern (a directory part ending in the
// path separator, then a wildcard) yields: hidden, system and directory entries
// are skipped, and a name's first character must (or, for the trigger stream,
// must not) be one of the two stream letters. name is the directory's as
// progress shows it.
void scanFiles(const WalkSettings& settings, platform::Disk& disk, DiskBoundary& boundary,
               const std::string& pattern, std::string_view name, WalkSelection& selection) {
  const std::string directory = platform::directoryPart(pattern);
  const char streamLetterAlt = alternateStreamLetter(settings.streamLetter);
  std::vector<std::string> selected;
  const base::Outcome<std::vector<platform::DirectoryEntry>> listed = disk.list(pattern);
  if (!listed) selection.directoryUnreadable(directory);
  for (const platform::DirectoryEntry& entry : listed ? *listed : kNoEntries) {
    if (entry.hidden || entry.system || entry.directory || entry.name.empty()) continue;
    const char first = entry.name.front();
    const bool permanent = first == settings.streamLetter || first == streamLetterAlt;
    if (permanent != (settings.triggerStream == 0)) continue;
    if (boundary.admits(directory, entry)) selected.push_back(directory + entry.name);
  }
  selection.filesSelected(name, selected);
}

// Verifies what the walk selects.
class Verification : public WalkSelection {
 public:
  Verification(verify::ArchiveVerifier& verifier, WalkProgress* progress)
      : verifier_(verifier), progress_(progress) {}
  void directoryEntered(const std::string& name) override { verifier_.enterDirectory(name); }
  void filesSelected(std::string_view name, const std::vector<std::string>& paths) override {
    if (progress_ != nullptr) progress_->filesListed(name, paths.size());
    for (const std::string& path : paths) verifier_.verifyFile(path);
  }
  void directoryUnreadable(const std::string& path) override {
    verifier_.directoryUnreadable(path);
  }

 private:
  verify::ArchiveVerifier& verifier_;
  WalkProgress* progress_;
};

}  // namespace

base::Status walkableDisk(std::string_view setting, platform::Disk& disk) {
  const std::optional<std::string> root = platform::diskRoot(setting);
  if (!root) return base::failure("no disk is named");
  const base::Outcome<platform::FileFacts> facts = disk.inspect(*root);
  if (!facts) {
    const std::optional<std::string> hint = platform::diskSettingHint(setting);
    return base::failure("no such disk or folder" + (hint ? " (" + *hint + ")" : std::string()));
  }
  if (!facts->directory) return base::failure("not a folder, a drive or a disk image");
  return {};
}

void walkArchive(const WalkSettings& settings, platform::Disk& disk,
                 verify::ArchiveVerifier& verifier, WalkProgress* progress) {
  Verification verification(verifier, progress);
  selectArchiveFiles(settings, disk, verification);
}

void selectArchiveFiles(const WalkSettings& settings, platform::Disk& disk,
                        WalkSelection& selection) {
  const std::optional<std::string> root = platform::diskRoot(settings.archiveDisk);
  if (!root) return;
  const base::Outcome<std::string> resolvedRoot = disk.resolve(*root);
  if (!resolvedRoot) return;  // no such disk
  DiskBoundary boundary(disk, *resolvedRoot, settings.runLogs);
  const std::string filePattern = "*." + settings.fileExtension;
  if (settings.planeMode != 0) {
    scanFiles(settings, disk, boundary, *root + filePattern, "", selection);
    return;
  }
  // The root is listed whole ("*.*", whatever the extension): the date
  // directories have no dot in their names.
  const base::Outcome<std::vector<platform::DirectoryEntry>> listed = disk.list(*root + "*.*");
  if (!listed) selection.directoryUnreadable(*root);
  for (const platform::DirectoryEntry& entry : listed ? *listed : kNoEntries) {
    if (!entry.directory || isDateDirectory(entry.name) == 0) continue;
    if (!boundary.admits(*root, entry)) continue;
    selection.directoryEntered(entry.name);
    scanFiles(settings, disk, boundary, *root + entry.name + platform::kPathSeparator + filePattern,
              entry.name, selection);
  }
}

}  // namespace walk
