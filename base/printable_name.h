#pragma once

#include <string>
#include <string_view>

namespace base {

// A name or path as the logs show it: every control byte (0x00 to 0x1F and
// 0x7F) written as "\x" and two lower-case hex digits, so that no name can end a
// log line or forge one. Every other byte stays as it is, so a name without
// control bytes is written unchanged.
std::string printableName(std::string_view name);

}  // namespace base
