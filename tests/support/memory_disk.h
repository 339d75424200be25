#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/byte_range.h"
#include "platform/disk.h"
#include "platform/name_match.h"
#include "platform/path_rules.h"

namespace testsupport {

// A disk held in memory: files as bytes under their full paths, directory
// entries in the order they were added (the order list() delivers them in), and
// the bytes appended to each log file.
class MemoryDisk : public platform::Disk {
 public:
  // Adds an entry to directory (named as the walk names it, ending in the path
  // separator); a file entry gets bytes as its contents.
  void add(const std::string& directory, platform::DirectoryEntry entry, std::string bytes = {}) {
    if (!entry.directory) files_[directory + entry.name] = std::move(bytes);
    directories_[directory].push_back(std::move(entry));
  }
  void addFile(const std::string& directory, const std::string& name, std::string bytes) {
    add(directory, platform::DirectoryEntry{name, false, false, false}, std::move(bytes));
  }
  void addDirectory(const std::string& directory, const std::string& name) {
    add(directory, platform::DirectoryEntry{name, false, false, true});
  }

  base::Outcome<std::vector<platform::DirectoryEntry>> list(const std::string& pattern) override {
    patterns.push_back(pattern);
    const std::string directory = platform::directoryPart(pattern);
    if (unlistable.count(directory) != 0) return base::failure("Permission denied");
    std::vector<platform::DirectoryEntry> matched;
    const auto found = directories_.find(directory);
    if (found == directories_.end()) return matched;
    for (const auto& entry : found->second) {
      if (platform::wildcardMatch(pattern.substr(directory.size()), entry.name)) {
        matched.push_back(entry);
      }
    }
    return matched;
  }

  base::Outcome<std::unique_ptr<platform::OpenFile>> openForReading(
      const std::string& path) override {
    ++opens;
    const auto found = files_.find(path);
    if (found == files_.end()) return base::failure("No such file or directory");
    std::unique_ptr<platform::OpenFile> file =
        std::make_unique<File>(found->second, *this, unreadable[path]);
    return file;
  }

  base::Status appendToFile(const std::string& path, std::string_view bytes) override {
    if (path.empty() || unwritable.count(path) != 0) return base::failure("Permission denied");
    logs[path] += bytes;
    return {};
  }

  // A disk in memory has no links: every path leads to itself.
  base::Outcome<std::string> resolve(const std::string& path) override { return path; }

  // Every file and directory is a file of its own, on one volume.
  base::Outcome<platform::FileFacts> inspect(const std::string& path) override {
    const bool file = files_.count(path) != 0;
    // A directory is named with or without its closing separator.
    if (!file && directories_.count(path) == 0 &&
        directories_.count(path + platform::kPathSeparator) == 0) {
      return base::failure("No such file or directory");
    }
    platform::FileFacts facts;
    facts.identity = {1, std::hash<std::string>()(path)};
    facts.regular = file;
    facts.directory = !file;
    if (file) facts.size = static_cast<int64_t>(files_.at(path).size());
    return facts;
  }

  std::optional<std::string> volumeLabel(const std::string& folder) override {
    const auto found = labels.find(folder);
    if (found == labels.end()) return std::nullopt;
    return found->second;
  }

  base::Status replaceFile(const std::string& path, std::string_view bytes) override {
    if (unwritable.count(path) != 0) return base::failure("cannot be written");
    files_[path] = std::string(bytes);
    return {};
  }

  std::vector<std::string> patterns;          // every pattern listed, in order
  std::map<std::string, std::string> logs;    // bytes appended, by path
  std::map<std::string, bool> unwritable;     // paths whose appends fail
  std::set<std::string> unlistable;           // directories whose listing fails
  std::map<std::string, std::string> labels;  // volume labels, by the folder mounting them
  // Per path, byte ranges that cannot be read, as a damaged sector: a read
  // that touches one fails.
  std::map<std::string, std::vector<base::ByteRange>> unreadable;
  int opens = 0;  // files opened for reading
  int reads = 0;  // readAt calls

 private:
  class File : public platform::OpenFile {
   public:
    File(const std::string& bytes, MemoryDisk& disk, const std::vector<base::ByteRange>& damaged)
        : bytes_(bytes), disk_(disk), damaged_(damaged) {}
    int64_t length() const override { return static_cast<int64_t>(bytes_.size()); }
    int64_t modified() const override { return 0; }
    base::Outcome<int64_t> readAt(int64_t offset, char* buffer, std::size_t size) override {
      ++disk_.reads;
      if (offset < 0) return base::failure("a negative offset");
      if (static_cast<std::size_t>(offset) >= bytes_.size()) return 0;
      const std::size_t count = std::min(size, bytes_.size() - static_cast<std::size_t>(offset));
      for (const base::ByteRange& range : damaged_) {
        if (range.offset < offset + static_cast<int64_t>(count) &&
            offset < range.offset + range.size)
          return base::failure("Input/output error");
      }
      std::memcpy(buffer, bytes_.data() + offset, count);
      return static_cast<int64_t>(count);
    }

   private:
    const std::string& bytes_;
    MemoryDisk& disk_;
    const std::vector<base::ByteRange>& damaged_;
  };

  std::map<std::string, std::vector<platform::DirectoryEntry>> directories_;
  std::map<std::string, std::string> files_;
};

}  // namespace testsupport
