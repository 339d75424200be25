#pragma once

#include <cstddef>
#include <string>

#include "base/byte_range.h"
#include "platform/disk.h"
#include "sources/image_tree.h"

namespace sources {

// How much of a file one read asks for.
constexpr std::size_t kFolderBlockSize = 1 << 20;
// A CD's sector: a block whose read fails is read again sector by sector, so
// that exactly the sectors that cannot be read are passed over.
constexpr std::size_t kSectorSize = 2048;

// Reads the folder at root (a disk's root, ending in the path separator)
// through host in one pass, as an image is read: every regular file below it,
// each directory in name order, front to back, keeping of each file what policy
// names and telling policy.everyByte of every byte. Bytes that cannot be read
// are told as unreadable and not kept, and the pass goes on past them. Entries
// keep the host's flags; a link is read only where it leads inside the folder
// (to a file; never into a directory), else left out, as the walk leaves it.
ImageTree readFolder(platform::Disk& host, const std::string& root, const base::KeepPolicy& policy);

}  // namespace sources
