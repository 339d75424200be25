#include "profile/code_page.h"

#include <cstdint>

#include "base/utf8.h"

namespace profile {
namespace {

// The code page 1252 byte of a UTF-16 unit, '?' where it has none.
char windows1252Byte(uint32_t unit) {
  static constexpr uint16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (uint32_t i = 0; i < 32; ++i) {
    if (kHigh[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string utf8ToWindows1252(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const base::Utf8Sequence read = base::readUtf8(text.substr(at));
    at += read.length;
    if (!read.valid) {
      out += '?';
    } else if (read.code > 0xFFFF) {
      out += "??";
    } else {
      out += windows1252Byte(read.code);
    }
  }
  return out;
}

}  // namespace profile
