#pragma once

#include <cstdint>
#include <string_view>

#include "base/c_scan.h"

namespace verify {

// Calls take(number) for every entry of a comma-separated channel list, in
// order. An entry ends at a comma or at the end of the text, so a list has one
// entry more than it has commas. Each entry is read as "%d" reads it; an entry
// that holds no number reads 0.
template <typename Take>
void forEachListEntry(std::string_view list, Take take) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(',', start);
    const std::string_view entry = list.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    std::size_t pos = 0;
    int32_t number = 0;
    base::scanDecimal(entry, pos, number);
    take(number);
    if (comma == std::string_view::npos) return;
    start = comma + 1;
  }
}

// A channel number as the channel arrays keep it: its low 8 bits, signed.
inline int8_t channelNumberOf(int32_t number) {
  return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(number) & 0xFFu));
}

}  // namespace verify
