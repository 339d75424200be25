#include "survey/utf8_text.h"

#include <cstdint>

#include "base/utf8.h"

namespace survey {

std::string validUtf8(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const base::Utf8Sequence read = base::readUtf8(text.substr(at));
    if (read.valid) {
      result.append(text.substr(at, read.length));
      at += read.length;
      continue;
    }
    const auto value = static_cast<uint8_t>(text[at++]);
    result += static_cast<char>(0xC0 | (value >> 6));
    result += static_cast<char>(0x80 | (value & 0x3F));
  }
  return result;
}

}  // namespace survey
