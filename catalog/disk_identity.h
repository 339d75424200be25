#pragma once

#include <string>

#include "catalog/catalog.h"

namespace catalog {

// How a disk read now stands against the one the catalogue holds under its
// label. A disk is known by what it holds, never by its name, its listing's
// sizes or its files' times.
enum class DiskMatch : uint8_t {
  kSame,  // the same data files, each as it was, and the same bytes where both have fixity
  kReadsOtherwise,  // the same files, but some read otherwise now (damage, or fixity differs)
  kOther,           // another disk: other files, or a usable file's header values differ
};

// path (as the logs show a data file's) below root, '/' between its parts.
std::string pathBelowRoot(const std::string& path, const std::string& root);

// Compares recorded (as the catalogue gives it, files and fixity) with read.
// Each one's data files are named below its own root (recordedRoot, readRoot:
// the disk roots their paths begin with, as the logs show paths), so that a
// disk mounted elsewhere is still itself. The files must be the same names and
// sizes (where both could be opened) in the same order, and every file usable
// in both must hold the same station, stream, frequency, position and times:
// else it is another disk.
DiskMatch matchOf(const CataloguedDisk& recorded, const std::string& recordedRoot,
                  const CataloguedDisk& read, const std::string& readRoot);

}  // namespace catalog
