#include <windows.h>

#include "platform/directory_lister.h"

namespace platform {
namespace {

DirectoryEntry describe(const WIN32_FIND_DATAA& found) {
  DirectoryEntry entry;
  entry.name = found.cFileName;
  entry.hidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;        // 0x02
  entry.system = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;        // 0x04
  entry.directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;  // 0x10
  return entry;
}

// The platform's own enumeration, in its own order, with its own wildcards.
class Win32DirectoryLister : public DirectoryLister {
 public:
  std::vector<DirectoryEntry> list(const std::string& pattern) override {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
      entries.push_back(describe(found));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
  }
};

}  // namespace

DirectoryLister& systemDirectoryLister() {
  static Win32DirectoryLister lister;
  return lister;
}

}  // namespace platform
