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
  // The most bytes of directory records held at once, whatever the records
  // claim: crafted extents that overlap could otherwise ask for gigabytes.
  static constexpr int64_t kBudget = int64_t{64} << 20;

  // Sees the image's bytes [offset, offset + size); calls come in order.
  void see(int64_t offset, const char* data, std::size_t size);

  // True when the file whose data starts at dataOffset (bytes from the image's
  // start) is marked hidden.
  bool hiddenAt(int64_t dataOffset) const { return hidden_.count(dataOffset) != 0; }

  // True once the directories being read needed more than kBudget; nothing is
  // read from then on.
  bool overBudget() const { return overBudget_; }

 private:
  void expect(int64_t offset, int64_t size);
  void readDirectory(const std::string& records);

  std::map<int64_t, std::string> pending_;  // directory extents to read: offset -> bytes so far
  std::map<int64_t, int64_t> sizes_;        // their sizes
  std::set<int64_t> hidden_;
  int64_t held_ = 0;  // bytes in pending_
  bool overBudget_ = false;
};

}  // namespace image
