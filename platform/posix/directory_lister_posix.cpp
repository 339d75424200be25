#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/directory_lister.h"
#include "platform/name_match.h"
#include "platform/path_rules.h"

namespace platform {
namespace {

// Flags of one entry as the archive walk sees them: a directory is what stat
// calls one (links followed); a name that begins with '.' is hidden; anything
// that is neither a regular file nor a directory (a FIFO, socket or device,
// which cannot be read as a data file) is a system entry. An entry stat cannot
// follow (a broken link, a link loop) is a plain file: it will fail to open.
DirectoryEntry describe(const std::string& directory, const char* name) {
  DirectoryEntry entry;
  entry.name = name;
  entry.hidden = name[0] == '.';
  struct stat info;
  if (::stat((directory + name).c_str(), &info) == 0) {
    entry.directory = S_ISDIR(info.st_mode);
    entry.system = !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
  }
  return entry;
}

class PosixDirectoryLister : public DirectoryLister {
 public:
  std::vector<DirectoryEntry> list(const std::string& pattern) override {
    const std::string directory = directoryPart(pattern);
    const std::string wildcard = pattern.substr(directory.size());

    std::vector<DirectoryEntry> entries;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) return entries;
    while (const dirent* item = ::readdir(dir)) {
      if (wildcardMatch(wildcard, item->d_name))
        entries.push_back(describe(directory, item->d_name));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
      return entryNameLess(a.name, b.name);
    });
    return entries;
  }
};

}  // namespace

DirectoryLister& systemDirectoryLister() {
  static PosixDirectoryLister lister;
  return lister;
}

}  // namespace platform
