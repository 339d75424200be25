#pragma once

#include <string>
#include <vector>

namespace platform {

struct DirectoryEntry {
  std::string name;  // without directory part
  bool hidden = false;
  bool system = false;
  bool directory = false;
};

// Lists directory entries the way the archive walk needs them.
class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;

  // The entries matched by pattern: a directory part ending in the path
  // separator, followed by a wildcard pattern for the entry names ("*" any run,
  // "?" one character, "*.*" every name). Entries come in the platform's
  // enumeration order. Empty when the directory cannot be read or nothing matches.
  virtual std::vector<DirectoryEntry> list(const std::string& pattern) = 0;
};

// The lister of the host's file system.
DirectoryLister& systemDirectoryLister();

}  // namespace platform
