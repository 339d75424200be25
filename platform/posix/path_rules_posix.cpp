#include "platform/path_rules.h"

namespace platform {

const char kPathSeparator = '/';

std::optional<std::string> diskRoot(std::string_view disk) {
  if (disk.empty()) return std::nullopt;
  std::string root(disk);
  if (root.back() != '/') root += '/';
  return root;
}

}  // namespace platform
