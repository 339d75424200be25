// libFuzzer target: "%d" scanning of arbitrary text, alone and as the time and
// date formats use it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/c_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t pos = 0;
  int32_t value = 0;
  while (pos < text.size()) {
    if (!base::scanDecimal(text, pos, value)) ++pos;
  }
  int32_t values[4] = {};
  base::scanDecimals(text, "--", values);
  base::scanDecimals(text, "::.", values);
  return 0;
}
