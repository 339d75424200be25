#include "walk/disk_boundary.h"

#include <algorithm>

#include "platform/path_rules.h"

namespace walk {

DiskBoundary::DiskBoundary(platform::Disk& disk, std::string resolvedRoot,
                           std::vector<std::string> runLogs)
    : disk_(disk), root_(std::move(resolvedRoot)), runLogs_(std::move(runLogs)) {}

const std::string& DiskBoundary::resolvedDirectory(const std::string& directory) {
  const auto known = resolvedDirectories_.find(directory);
  if (known != resolvedDirectories_.end()) return known->second;
  std::string resolved = disk_.resolve(directory).value_or("");
  if (resolved.empty() || resolved.back() != platform::kPathSeparator) {
    resolved += platform::kPathSeparator;
  }
  return resolvedDirectories_.emplace(directory, std::move(resolved)).first->second;
}

bool DiskBoundary::admits(const std::string& directory, const platform::DirectoryEntry& entry) {
  std::string place;
  if (entry.link) {
    const base::Outcome<std::string> resolved = disk_.resolve(directory + entry.name);
    if (!resolved || !platform::isInside(*resolved, root_)) return false;
    place = *resolved;
  } else {
    if (runLogs_.empty()) return true;
    place = resolvedDirectory(directory) + entry.name;
  }
  return std::none_of(runLogs_.begin(), runLogs_.end(),
                      [&](const std::string& log) { return platform::samePath(place, log); });
}

}  // namespace walk
