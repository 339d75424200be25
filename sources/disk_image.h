#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_range.h"
#include "platform/disk.h"

namespace sources {

// The disk that an -archDisk setting names.
struct OpenedDisk {
  std::unique_ptr<platform::Disk> owned;  // the image's disk; null when host is the disk
  platform::Disk* disk = nullptr;         // where the run reads the disk and writes its logs
  // The folder's directories whose listings could not be read, read whole for
  // policy.everyByte: the host's paths, ending in the separator.
  std::vector<std::string> unreadableDirectories;
};

// When setting names a regular file of host, that file is read through host as
// an ISO 9660 image, in one pass front to back, keeping of each file what policy
// names, and the disk is the image's tree under the setting's
// root (platform::diskRoot): every other path still goes to host, which also
// receives the logs. An image that cannot be read (not an ISO image, damaged
// before its files, a directory loop) is a failure that says why; one cut short
// inside its file data keeps the files it holds whole, and the others cannot be
// read. A file that shares its data with another has that data; entries whose
// names cannot be read are told in the outcome's warnings (after a second pass
// without Joliet's names, where that one names every file). Any other setting
// gives host itself.
// When policy.everyByte is set, a folder is read the same way, every byte of
// every file once (readFolder), and the disk is its tree.
// Where images are not supported (the Windows build: Windows mounts images
// itself), host is always the disk.
base::Outcome<OpenedDisk> openDisk(const std::string& setting, platform::Disk& host,
                                   const base::KeepPolicy& policy);

}  // namespace sources
