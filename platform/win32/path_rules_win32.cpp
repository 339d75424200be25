#include "platform/name_match.h"
#include "platform/path_rules.h"

namespace platform {

const char kPathSeparator = '\\';

// A drive letter's root. An empty setting gives ":\", which names no drive: the
// enumeration then fails, as on the archive's home platform.
std::optional<std::string> diskRoot(std::string_view disk) { return std::string(disk) + ":\\"; }

std::optional<std::string> diskSettingHint(std::string_view disk) {
  const bool letter =
      !disk.empty() && ((disk[0] >= 'A' && disk[0] <= 'Z') || (disk[0] >= 'a' && disk[0] <= 'z'));
  if (letter && (disk.substr(1) == ":" || disk.substr(1) == ":\\")) {
    return "name the drive by its letter alone: -archDisk=" + std::string(1, disk[0]);
  }
  return std::nullopt;
}

// Windows compares names ignoring case.
bool samePath(std::string_view a, std::string_view b) { return base::equalsIgnoringCase(a, b); }

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '\\' && path[path.size() - 2] != ':') path.pop_back();
  return path;
}

bool isInside(std::string_view path, std::string_view directory) {
  if (directory.empty()) return false;
  if (directory.back() == '\\') directory.remove_suffix(1);
  if (path.size() < directory.size() || !samePath(path.substr(0, directory.size()), directory)) {
    return false;
  }
  return path.size() == directory.size() || path[directory.size()] == '\\';
}

}  // namespace platform
