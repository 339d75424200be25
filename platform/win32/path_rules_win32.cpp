#include "base/ascii_case.h"
#include "platform/path_rules.h"

namespace platform {

const char kPathSeparator = '\\';

// A drive letter's root, or a folder given as its own root. An empty setting
// gives ":\", which names no drive: the enumeration then fails, as on the
// archive's home platform.
std::optional<std::string> diskRoot(std::string_view disk) {
  if (!disk.empty() && (disk.back() == '\\' || disk.back() == '/')) return std::string(disk);
  return std::string(disk) + ":\\";
}

namespace {

// "g:" or "g:\\": a drive letter with its colon (and root).
bool isDriveWithColon(std::string_view disk) {
  return !disk.empty() && base::isAsciiLetter(disk[0]) &&
         (disk.substr(1) == ":" || disk.substr(1) == ":\\");
}

}  // namespace

std::string diskSettingOf(std::string_view input) {
  if (isDriveWithColon(input)) return std::string(input.substr(0, 1));
  if (input.size() <= 1 || input.back() == '\\' || input.back() == '/') return std::string(input);
  return std::string(input) + '\\';  // a folder, given as its root
}

std::optional<std::string> diskSettingHint(std::string_view disk) {
  if (!isDriveWithColon(disk)) return std::nullopt;
  return "name the drive by its letter alone: -archDisk=" + std::string(1, disk[0]);
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
