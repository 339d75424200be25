#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/disk.h"
#include "walk/archive_walk.h"

namespace catalog {

// A disk's listing, kept with it as a record of what it looked like when it
// was read: the walk's selection in the walk's order, each date directory it
// enters and each data file's name, size and time, with the walk's settings.
// It never decides whether a disk is the one catalogued: names, sizes and
// times can be the same on another disk (disk_identity.h decides). Kept as a
// short fixed-width digest, fed in that order.
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

  std::string text() const;

 private:
  void add(std::string_view text);
  void add(int64_t number);

  uint64_t hash_;
};

}  // namespace catalog
