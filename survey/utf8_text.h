#pragma once

#include <string>
#include <string_view>

namespace survey {

// text as valid UTF-8: valid sequences stay as they are, and every other byte
// stands for the Latin-1 character of its value (0xE9 becomes "é"). Header
// values and names may hold any bytes; JSON holds only UTF-8, and a disk read
// directly must give the same texts as its JSON summary read back.
std::string validUtf8(std::string_view text);

}  // namespace survey
