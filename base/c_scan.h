#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace base {

// Formatted scanning in the manner of C's "%d" conversion, without sscanf (whose
// behaviour on an out-of-range number is undefined).

// Reads a decimal integer of text from pos: white space skipped, an optional sign,
// then digits up to the first character that cannot continue the number. A number
// too large for 32 bits wraps. On success pos is past the last digit; when no digit
// is found the result is false and pos and value are unchanged.
bool scanDecimal(std::string_view text, std::size_t& pos, int32_t& value);

// Scans text against a format of "%d" conversions joined by single literal
// characters, given as `separators` ("%d-%d-%d" is "--"). values receives
// separators.size() + 1 numbers in order; scanning stops at the first mismatch or
// at the end of text, and the numbers not reached are left as they were. Returns
// how many numbers were stored.
int scanDecimals(std::string_view text, std::string_view separators, int32_t* values);

}  // namespace base
