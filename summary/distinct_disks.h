#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "survey/file_record.h"

namespace summary {

// The survey's records, which the summary is made of.
using survey::DiskRecord;
using survey::FileRecord;

// A disk's content: its files, each with its path below the disk's name (a
// path that does not begin with the name is taken whole) and everything
// recorded of it. Two disks of equal content are the same disk, whatever they
// are called: a folder and its own summary, a folder named two ways, a copy of
// a disk. Disks of one name and different content are different disks (several
// disks surveyed one after another at /mnt/cdrom).
bool sameContent(const DiskRecord& a, const DiskRecord& b);

// A disk left out because another of the same content is kept.
struct RepeatedDisk {
  std::size_t copy;      // indexes into the disks given to distinctDisks
  std::size_t original;  // the one kept
};

// A name that several disks of different content share.
struct SharedName {
  std::string name;
  std::size_t disks;  // told apart as "NAME (1)" to "NAME (disks)"
};

struct DistinctDisks {
  std::vector<DiskRecord> disks;  // each content once, each name once
  std::vector<RepeatedDisk> repeated;
  std::vector<SharedName> sharedNames;
};

// Keeps each content once (of equal contents, the disk with the first name in
// byte order) and tells apart the disks that share a name by numbering them in
// the order of their content. The result does not depend on the order of the
// disks given; only the indexes in `repeated` refer to it. O(n log n) in disks
// and files.
DistinctDisks distinctDisks(std::vector<DiskRecord> disks);

}  // namespace summary
