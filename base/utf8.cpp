#include "base/utf8.h"

namespace base {

Utf8Sequence readUtf8(std::string_view text) {
  const auto lead = static_cast<uint8_t>(text[0]);
  if (lead < 0x80) return {1, true, lead};
  std::size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {1, false, 0};
  }
  uint32_t code = lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = i < text.size() ? static_cast<uint8_t>(text[i]) : uint8_t{0};
    if (i >= text.size() || next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
      return {i, false, 0};
    }
    code = code << 6 | (next & 0x3Fu);
  }
  return {length, true, code};
}

}  // namespace base
