#include "walk/archive_walk.h"

#include "base/text_format.h"
#include "platform/path_rules.h"

int isDigitChar(char c) { return c >= '0' && c <= '9' ? 1 : 0; }

int isDateDirectory(std::string_view name) {
  for (std::size_t i = 0; i < 8; ++i) {
    if (i >= name.size() || name[i] == '\0' || isDigitChar(name[i]) == 0) return 0;
  }
  return 1;
}

void walkArchive(const WalkSettings& settings, platform::Disk& disk, ArchiveVerifier& verifier) {
  const std::optional<std::string> root = platform::diskRoot(settings.archiveDisk.view());
  if (!root) return;
  const std::string filePattern = "*." + std::string(settings.fileExtension.view());
  if (settings.planeMode != 0) {
    scanFiles(settings, disk, *root + filePattern, verifier);
    return;
  }
  // The root is listed whole ("*.*", whatever the extension): the date
  // directories have no dot in their names.
  for (const platform::DirectoryEntry& entry : disk.list(*root + "*.*")) {
    if (!entry.directory || isDateDirectory(entry.name) == 0) continue;
    if (verifier.log != nullptr) {
      verifier.log->write(LOG_INFO, 0, formatText(" Directory %s", entry.name.c_str()), LOG_PREFIX);
    }
    ++verifier.counters.directoryCount;
    scanFiles(settings, disk, *root + entry.name + platform::kPathSeparator + filePattern,
              verifier);
  }
}

void scanFiles(const WalkSettings& settings, platform::Disk& disk, const std::string& pattern,
               ArchiveVerifier& verifier) {
  const std::string directory = platform::directoryPart(pattern);
  for (const platform::DirectoryEntry& entry : disk.list(pattern)) {
    if (entry.hidden || entry.system || entry.directory || entry.name.empty()) continue;
    const char first = entry.name.front();
    const bool permanent = first == settings.streamLetter || first == settings.streamLetterAlt;
    if (permanent == (settings.triggerStream == 0)) verifier.verifyFile(directory + entry.name);
  }
}
