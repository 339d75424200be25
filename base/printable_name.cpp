#include "base/printable_name.h"

namespace base {

std::string printableName(std::string_view name) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(name.size());
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    }
  }
  return shown;
}

}  // namespace base
