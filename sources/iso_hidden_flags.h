#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace sources {

// The ISO 9660 hidden ("existence") flag of the image's files, which libarchive
// reads past without reporting. Read from the directory records as the image's
// bytes stream by, so it costs no pass of its own: the volume descriptors give
// the roots of the primary tree and of Joliet's, each directory its
// subdirectories. Directories that lie before the bytes already seen are not
// read (every common layout puts them before the files' data).
//
// A file is hidden when its record is so marked in the tree whose names
// libarchive gives (Rock Ridge names where the primary tree has them, else
// Joliet's unless they are not used, else the primary names without ";1" and a
// trailing dot): found by its path there, or by where its data starts, which
// files without data lack but which finds a name built otherwise (one in a
// continuation area, a moved directory). Joliet's tree is not read once Rock
// Ridge names are seen.
class IsoHiddenFlags {
 public:
  // The most bytes of directory records held at once, whatever the records
  // claim: crafted extents that overlap could otherwise ask for gigabytes.
  static constexpr int64_t kBudget = int64_t{64} << 20;

  // Sees the image's bytes [offset, offset + size); calls come in order.
  void see(int64_t offset, const char* data, std::size_t size);

  // True when the file at path (as libarchive names it: "20060615/A.DAT"),
  // whose data starts at dataOffset bytes from the image's start (-1: it has
  // none), is marked hidden; joliet false when Joliet's names are not used.
  bool hidden(const std::string& path, int64_t dataOffset, bool joliet) const;

  // True once the directories being read needed more than kBudget, or one
  // claimed more; nothing is read from then on.
  bool overBudget() const { return overBudget_; }

 private:
  enum Tree { kPrimary = 0, kJoliet = 1 };
  struct Directory {
    Tree tree;
    std::string path;  // "" for the root, else ending in '/'
    int64_t size;
    std::string bytes;  // read so far
  };

  void seeDescriptor(const char* sector);
  void expect(Tree tree, std::string path, const std::string& record);
  void dropJoliet();  // Rock Ridge names are used: Joliet's tree is not needed
  void readDirectory(const Directory& directory);
  std::string nameOf(Tree tree, const std::string& record) const;

  std::map<int64_t, Directory> pending_;  // directory extents to read, by offset
  std::set<int64_t> known_;               // every directory extent expected: no loops
  // What is marked hidden, per tree: files by path, and where their data starts.
  std::set<std::string> hiddenPaths_[2];
  std::set<int64_t> hiddenData_[2];
  bool rockRidge_ = false;
  bool jolietSeen_ = false;
  int64_t held_ = 0;  // bytes in pending_
  bool overBudget_ = false;
};

}  // namespace sources
