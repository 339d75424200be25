#include <blkid/blkid.h>
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "platform/mount_table.h"
#include "platform/posix/volume_probe.h"
#include "platform/volume_label.h"

namespace platform {

namespace {

std::optional<std::string> realPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

// A name under /dev/disk/by-label, where udev writes some bytes as "\xNN".
std::string udevUnescaped(const std::string& name) {
  std::string text;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size()) {
      const std::string hex = name.substr(i + 2, 2);
      char* end = nullptr;
      const long value = std::strtol(hex.c_str(), &end, 16);
      if (end == hex.c_str() + 2) {
        text += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    text += name[i];
  }
  return text;
}

// The label under which udev names device, for a device this user may not read.
std::optional<std::string> udevLabel(const std::string& device) {
  const std::string folder = "/dev/disk/by-label/";
  const std::optional<std::string> target = realPath(device);
  DIR* const labels = ::opendir(folder.c_str());
  if (!target || labels == nullptr) {
    if (labels != nullptr) ::closedir(labels);
    return std::nullopt;
  }
  std::optional<std::string> label;
  while (const dirent* entry = ::readdir(labels)) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && realPath(folder + name) == target)
      label = udevUnescaped(name);
  }
  ::closedir(labels);
  return label;
}

}  // namespace

std::optional<std::string> probedVolumeLabel(const std::string& device) {
  const std::unique_ptr<blkid_struct_probe, decltype(&blkid_free_probe)> probe(
      blkid_new_probe_from_filename(device.c_str()), blkid_free_probe);
  if (!probe) return std::nullopt;
  blkid_probe_enable_superblocks(probe.get(), 1);
  blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL);
  if (blkid_do_safeprobe(probe.get()) != 0) return std::nullopt;
  const char* value = nullptr;
  std::size_t length = 0;
  if (blkid_probe_lookup_value(probe.get(), "LABEL", &value, &length) != 0 || value == nullptr) {
    return std::nullopt;
  }
  std::string label(value, length);
  while (!label.empty() && label.back() == '\0') label.pop_back();  // the length counts the NUL
  if (label.empty()) return std::nullopt;
  return label;
}

std::optional<std::string> mountedVolumeLabel(const std::string& folder) {
  const std::optional<std::string> place = realPath(folder);
  if (!place) return std::nullopt;
  std::ifstream table("/proc/self/mountinfo");
  std::ostringstream text;
  text << table.rdbuf();
  const std::optional<MountedVolume> volume = volumeMountedAt(text.str(), *place);
  if (!volume || (volume->type != "iso9660" && volume->type != "udf")) return std::nullopt;
  if (std::optional<std::string> label = probedVolumeLabel(volume->source)) return label;
  return udevLabel(volume->source);
}

}  // namespace platform
