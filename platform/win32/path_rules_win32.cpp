#include "platform/path_rules.h"

namespace platform {

const char kPathSeparator = '\\';

// A drive letter's root. An empty setting gives ":\", which names no drive: the
// enumeration then fails, as on the archive's home platform.
std::optional<std::string> diskRoot(std::string_view disk) { return std::string(disk) + ":\\"; }

}  // namespace platform
