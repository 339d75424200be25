#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace base {

// One UTF-8 sequence, read at the start of a text.
struct Utf8Sequence {
  // The bytes it takes: the whole sequence when valid; else its lead byte and
  // the continuation bytes that still fit it (the maximal invalid part), at least 1.
  std::size_t length = 0;
  bool valid = false;
  uint32_t code = 0;  // the code point, when valid
};

// Reads the sequence at the start of text, which is not empty. Overlong forms,
// surrogates and values past U+10FFFF are not valid.
Utf8Sequence readUtf8(std::string_view text);

}  // namespace base
