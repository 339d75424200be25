#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/disk.h"
#include "walk/archive_walk.h"

namespace catalog {

// A disk's listing: what tells, without reading a file, that a disk is
// unchanged. For an image file, its size and time; for a folder or a drive, the
// walk's selection in the walk's order: each date directory it enters and each
// data file's name, size and time. The walk's settings belong to it. Equal
// listings mean an unchanged disk. Kept as a short fixed-width digest, fed in
// that order.
class ListingDigest {
 public:
  explicit ListingDigest(const walk::WalkSettings& settings);

  // name: as the logs show it.
  void addDirectory(std::string_view name);
  // A directory whose listing could not be read: such a listing never equals
  // one that was read whole.
  void addUnreadableDirectory(std::string_view path);
  // path: as the logs show it, of which the part after the last separator is
  // kept. A file whose facts are unknown has size -1 and modified 0.
  void addFile(std::string_view path, int64_t size, int64_t modified);
  // The facts of the image file that is the disk.
  void addImage(int64_t size, int64_t modified);

  std::string text() const;

 private:
  void add(std::string_view text);
  void add(int64_t number);

  uint64_t hash_;
};

// The listing of the disk that settings.archiveDisk names, from its
// directories and the facts the host tells of its files.
std::string diskListing(const walk::WalkSettings& settings, platform::Disk& host);

// Whether settings.archiveDisk names an image file rather than a folder or drive.
bool isImageDisk(const walk::WalkSettings& settings, platform::Disk& host);

}  // namespace catalog
