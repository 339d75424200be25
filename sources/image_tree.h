#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_range.h"
#include "platform/disk.h"

namespace sources {

// A regular file of the image: its length and the bytes kept of it.
struct ImageFile {
  int64_t length = 0;
  int64_t dataStart = -1;  // where its data starts in the image; -1: it has none
  int64_t modified = 0;    // when its content last changed, as the host tells it; 0: unknown
  std::string leading;     // from offset 0 up to and including the first zero byte
  bool leadingDone = false;
  std::vector<std::pair<base::ByteRange, std::string>> kept;  // other ranges, as far as present
};

// The image's tree: directories by their path inside the image ("" for the
// root, else ending in '/'), files by their path; names that share their data
// share one ImageFile.
struct ImageTree {
  std::map<std::string, std::vector<platform::DirectoryEntry>> directories;
  std::map<std::string, std::shared_ptr<const ImageFile>> files;
  std::set<std::string> unlistable;  // directories whose listing could not be read
};

// Adds the entry at path to its parent's listing; a directory also gets a
// listing of its own. Returns the entry as listed in its parent.
platform::DirectoryEntry& addEntry(ImageTree& tree, const std::string& path, bool directory,
                                   bool regular);

// Keeps what policy names of size bytes of file's data at offset, the bytes
// that follow those met before.
void keepBytes(ImageFile& file, const char* data, std::size_t size, int64_t offset,
               const base::KeepPolicy& policy);

// Drops what was kept of range and after it in the same stretch: those bytes
// could not be read, or the file's source did not hold them.
void forgetRange(ImageFile& file, base::ByteRange range);

// True when directory (a tree path ending in '/') is listed as a directory in
// its parent, and that one in its own, up to the root.
bool isListed(const ImageTree& tree, const std::string& directory);

// Gives every listing "." and ".." and puts it in name order, as the walk
// expects of a listing.
void finishListings(ImageTree& tree);

}  // namespace sources
