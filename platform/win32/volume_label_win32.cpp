#include <windows.h>

#include "base/ascii_case.h"
#include "platform/volume_label.h"

namespace platform {

std::optional<std::string> mountedVolumeLabel(const std::string& folder) {
  // A drive: its letter (as a disk setting names it), "g:", "g:\" or "g:/".
  const bool letter = folder.size() == 1 && base::isAsciiLetter(folder[0]);
  const bool root =
      (folder.size() == 2 || (folder.size() == 3 && (folder[2] == '\\' || folder[2] == '/'))) &&
      folder[1] == ':';
  if (!letter && !root) return std::nullopt;
  const std::string drive = folder.substr(0, 1) + ":\\";
  char name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationA(drive.c_str(), name, sizeof name, nullptr, nullptr, nullptr, nullptr,
                             0) ||
      name[0] == '\0') {
    return std::nullopt;
  }
  return std::string(name);
}

}  // namespace platform
