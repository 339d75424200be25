#pragma once

#include <string_view>

namespace platform {

// Wildcard and ordering rules of the archive medium's file system, for hosts whose
// own enumeration has neither. A CD's names are case-insensitive.

// True when name matches pattern: "*" matches any run of characters, "?" exactly
// one, letters compare ignoring ASCII case. As on the archive's home platform,
// "*.*" matches every name, also one without a dot, and "*." alone matches the
// names that have no dot.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Enumeration order: names compared byte by byte with ASCII letters folded to
// upper case; names equal that way are ordered by their raw bytes.
bool entryNameLess(std::string_view a, std::string_view b);

}  // namespace platform
