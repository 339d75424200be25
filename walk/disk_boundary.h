#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/disk.h"

namespace walk {

// Where the walk may go on a disk: an entry that leads outside the disk (a link
// to "..", to another disk) is left alone as a system entry would be, and the
// run's own log files are never taken for data files, wherever they lie.
class DiskBoundary {
 public:
  // resolvedRoot is where the disk's root leads (Disk::resolve); runLogs are the
  // resolved paths of the run's log files.
  DiskBoundary(platform::Disk& disk, std::string resolvedRoot, std::vector<std::string> runLogs);

  // True when entry, listed in directory (ending in the path separator), stays
  // inside the disk and is none of the run's logs.
  bool admits(const std::string& directory, const platform::DirectoryEntry& entry);

 private:
  // Where directory leads, ending in the path separator; asked once per directory.
  const std::string& resolvedDirectory(const std::string& directory);

  platform::Disk& disk_;
  std::string root_;
  std::vector<std::string> runLogs_;
  std::map<std::string, std::string> resolvedDirectories_;
};

}  // namespace walk
