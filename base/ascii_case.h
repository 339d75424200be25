#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace base {

// ASCII letters folded to upper case; every other byte stays as it is. The
// archive's names and header keys compare this way, whatever the host's locale.

inline unsigned char upperAscii(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

inline bool isAsciiLetter(char c) {
  const unsigned char u = upperAscii(c);
  return u >= 'A' && u <= 'Z';
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  }
  return true;
}

inline bool lessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return upperAscii(x) < upperAscii(y); });
}

}  // namespace base
