#pragma once

#include <string>

#include "platform/disk.h"
#include "walk/archive_walk.h"

namespace catalog {

// What the disk that settings.archiveDisk names looks like from its listing
// alone, no file read: for an image file, its size and time; for a folder or a
// drive, the names, sizes and times of the root's entries and of those in its
// directories one level down. The walk's settings belong to it. Two equal
// listings mean an unchanged disk. A short fixed-width text.
std::string diskListing(const walk::WalkSettings& settings, platform::Disk& host);

}  // namespace catalog
