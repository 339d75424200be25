#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A volume mounted on the host, as its mount table tells it.
struct MountedVolume {
  std::string source;  // the device or file it was mounted from
  std::string type;    // its file system: "iso9660", "udf", ...
};

// The volume mounted at place (an absolute path, every link resolved) in
// mountinfo, the text of Linux's /proc/self/mountinfo; the last one where
// several are stacked there. Nothing when place is no mount point.
std::optional<MountedVolume> volumeMountedAt(std::string_view mountinfo, const std::string& place);

}  // namespace platform
