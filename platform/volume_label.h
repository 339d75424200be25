#pragma once

#include <optional>
#include <string>

namespace platform {

// The label of the disk's volume where folder is where the host mounts a
// disk: on Linux a folder that is the mount point of an ISO 9660 or UDF volume
// (its label as the volume's own descriptor gives it, read from the device, or
// from the host's names of labelled devices where the device cannot be read);
// on Windows a drive, by its letter or its root (its volume name). Nothing
// when folder is none of these, or the volume has no label.
std::optional<std::string> mountedVolumeLabel(const std::string& folder);

}  // namespace platform
