// The archive walk: the ArchiveVerifier operations that find the data files of
// the selected stream, in the disk's root ("plane") or in its date directories
// ("subdir").

#include "walk/archive_walk.h"

#include "base/text_format.h"
#include "platform/path_rules.h"
#include "verify/archive_verifier.h"

int isDigitChar(char c) { return c >= '0' && c <= '9' ? 1 : 0; }

int isDateDirectory(std::string_view name) {
  for (std::size_t i = 0; i < 8; ++i) {
    if (i >= name.size() || name[i] == '\0' || isDigitChar(name[i]) == 0) return 0;
  }
  return 1;
}

void ArchiveVerifier::walkArchive() {
  const std::optional<std::string> root = platform::diskRoot(archiveDisk.view());
  if (!root) return;
  const std::string filePattern = "*." + std::string(fileExtension.view());
  if (planeMode != 0) {
    scanFiles(*root + filePattern);
    return;
  }
  // The root is listed whole ("*.*", whatever the extension): the date
  // directories have no dot in their names.
  for (const platform::DirectoryEntry& entry : lister_.list(*root + "*.*")) {
    if (!entry.directory || isDateDirectory(entry.name) == 0) continue;
    if (log != nullptr) {
      log->write(LOG_INFO, 0, formatText(" Directory %s", entry.name.c_str()), LOG_PREFIX);
    }
    ++directoryCount;
    scanFiles(*root + entry.name + platform::kPathSeparator + filePattern);
  }
}

void ArchiveVerifier::scanFiles(const std::string& pattern) {
  const std::string directory = platform::directoryPart(pattern);
  for (const platform::DirectoryEntry& entry : lister_.list(pattern)) {
    if (entry.hidden || entry.system || entry.directory || entry.name.empty()) continue;
    const char first = entry.name.front();
    const bool permanent = first == streamLetter || first == streamLetterAlt;
    if (permanent == (triggerStream == 0)) verifyFile(directory + entry.name);
  }
}
