#pragma once

#include <string>

#include "sources/disk_image.h"

namespace sources {

// The disk of the ISO 9660 image at path, a regular file of host, whose
// setting's root is root: as openDisk tells. Where images are not supported,
// host itself.
base::Outcome<OpenedDisk> openImage(const std::string& root, const std::string& path,
                                    platform::Disk& host, const base::KeepPolicy& policy);

}  // namespace sources
