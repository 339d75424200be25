#include "platform/path_rules.h"

namespace platform {

const char kPathSeparator = '/';

std::optional<std::string> diskRoot(std::string_view disk) {
  if (disk.empty()) return std::nullopt;
  std::string root(disk);
  if (root.back() != '/') root += '/';
  return root;
}

std::string diskSettingOf(std::string_view input) { return std::string(input); }

std::optional<std::string> diskSettingHint(std::string_view) { return std::nullopt; }

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool isInside(std::string_view path, std::string_view directory) {
  if (directory.empty()) return false;
  if (directory.back() == '/') directory.remove_suffix(1);  // "/" becomes ""
  if (path.substr(0, directory.size()) != directory) return false;
  return path.size() == directory.size() || path[directory.size()] == '/';
}

bool samePath(std::string_view a, std::string_view b) { return a == b; }

}  // namespace platform
