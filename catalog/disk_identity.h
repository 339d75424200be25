#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "walk/archive_walk.h"

namespace catalog {

// How a disk read now stands against the one the catalogue holds under its
// label. A disk is known by what it holds, never by its name, its listing's
// sizes or its files' times.
enum class DiskMatch : uint8_t {
  kSame,  // the same data files, each as it was, and the same bytes where both have fixity
  kReadsOtherwise,  // the same files, but some read otherwise now (damage, or fixity differs)
  kOther,           // another disk: other files, or a usable file's header values differ
};

// The stream a walk with these settings selects.
DiskStream streamOf(const walk::WalkSettings& walk);

// path (as the logs show a data file's) below root, '/' between its parts:
// a root of Windows' (one that ends in '\\', or a drive's "g:/") has its
// paths' '\\' made '/', whichever host asks.
std::string pathBelowRoot(const std::string& path, const std::string& root);

// The root of the disk that source (an input as named on a command line, as a
// disk's entry keeps it) names on this host, as the logs show paths: what its
// data files' paths begin with.
std::string diskRootOf(const std::string& source);

// The root of a recorded disk: its source as the host that added it named it
// (a catalogue is shared by Linux and Windows), told by where its files lie:
// this host's root, a POSIX folder's, or a Windows drive's or folder's,
// whichever its first file's path begins with; this host's when none does.
std::string recordedRootOf(const std::string& source, const std::vector<CataloguedFile>& files);

// What a disk's data files hold, as one digest (SHA-256, in hex) over each
// one's path below root, size, usability, and header values (station, stream,
// frequency, position and times), in the walk's order; empty when it holds no
// data file. Two disks of equal content are copies of one disk, whatever their
// labels, folders or modification times.
std::string contentOf(const std::vector<CataloguedFile>& files, const std::string& root);

// Sets each copy's copyOf (DiskEntry::copyOf) among disks, every other's to
// nothing. (The catalogue's kSelectCountedSources asks the same in SQL.)
void linkCopies(std::vector<DiskEntry>& disks);
void linkCopies(std::vector<CataloguedDisk>& disks);

// disks with their copies linked, ordered by label and stream, each disk's
// copies right after it.
std::vector<DiskEntry> orderedWithCopies(std::vector<DiskEntry> disks);

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
