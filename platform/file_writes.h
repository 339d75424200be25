#pragma once

#include <string>
#include <string_view>

#include "base/outcome.h"

namespace platform {

// Disk::appendToFile: one write, the file made (owner only) when missing.
base::Status appendBytes(const std::string& path, std::string_view bytes);

// Disk::replaceFile: bytes become the whole content of the file at
// path, through a new file beside place (where path leads; empty when that
// cannot be told) renamed over it once synced; a device or FIFO is written as
// it is.
base::Status replaceWhole(const std::string& path, const std::string& place,
                          std::string_view bytes);

}  // namespace platform
