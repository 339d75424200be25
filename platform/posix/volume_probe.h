#pragma once

#include <optional>
#include <string>

namespace platform {

// The label that libblkid finds in the file system on device (a block device,
// or a file holding a volume, such as an ISO image: probed alike); nothing
// when it cannot be read or holds none.
std::optional<std::string> probedVolumeLabel(const std::string& device);

}  // namespace platform
