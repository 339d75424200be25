#pragma once

#include <string>
#include <string_view>

namespace profile {

// UTF-8 text handed out in the Windows ANSI code page 1252: each undecodable
// sequence becomes one '?', as does every character that code page lacks (a
// character beyond the 16-bit plane gives "??", one for each half of its
// surrogate pair); best-fit replacements are not reproduced.
std::string utf8ToWindows1252(std::string_view text);

}  // namespace profile
