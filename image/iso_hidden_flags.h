#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace image {

// The ISO 9660 hidden ("existence") flag of the image's files, which libarchive
// reads past without reporting. Read from the primary tree's directory records
// as the image's bytes stream by, so it costs no pass of its own: the primary
// volume descriptor gives the root directory, each directory its
// subdirectories. Directories that lie before the bytes already seen are not
// read (every common layout puts them before the files' data).
class IsoHiddenFlags {
 public:
  // Sees the image's bytes [offset, offset + size); calls come in order.
  void see(int64_t offset, const char* data, std::size_t size);

  // True when the file whose data starts at dataOffset (bytes from the image's
  // start) is marked hidden.
  bool hiddenAt(int64_t dataOffset) const { return hidden_.count(dataOffset) != 0; }

 private:
  void expect(int64_t offset, int64_t size);
  void readDirectory(const std::string& records);

  std::map<int64_t, std::string> pending_;  // directory extents to read: offset -> bytes so far
  std::map<int64_t, int64_t> sizes_;        // their sizes
  std::set<int64_t> hidden_;
};

}  // namespace image
