#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/directory_lister.h"
#include "platform/name_match.h"
#include "platform/path_rules.h"

namespace platform {

// An in-memory directory tree for tests: each directory (named as the walk names
// it, ending in the path separator) holds entries in the order they were added,
// which is the order list() delivers them in.
class FakeDirectoryLister : public DirectoryLister {
 public:
  void add(const std::string& directory, DirectoryEntry entry) {
    directories_[directory].push_back(std::move(entry));
  }

  std::vector<DirectoryEntry> list(const std::string& pattern) override {
    patterns.push_back(pattern);
    const std::string directory = directoryPart(pattern);
    std::vector<DirectoryEntry> matched;
    const auto found = directories_.find(directory);
    if (found == directories_.end()) return matched;
    for (const DirectoryEntry& entry : found->second) {
      if (wildcardMatch(pattern.substr(directory.size()), entry.name)) matched.push_back(entry);
    }
    return matched;
  }

  std::vector<std::string> patterns;  // every pattern listed, in order

 private:
  std::map<std::string, std::vector<DirectoryEntry>> directories_;
};

}  // namespace platform
