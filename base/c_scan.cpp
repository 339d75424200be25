#include "base/c_scan.h"

namespace base {

namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool scanDecimal(std::string_view text, std::size_t& pos, int32_t& value) {
  std::size_t at = pos;
  while (at < text.size() && isCSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  if (at >= text.size() || !isDigit(text[at])) return false;
  uint32_t magnitude = 0;
  while (at < text.size() && isDigit(text[at])) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[at] - '0');
    ++at;
  }
  value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
  pos = at;
  return true;
}

int scanDecimals(std::string_view text, std::string_view separators, int32_t* values) {
  std::size_t pos = 0;
  int stored = 0;
  for (std::size_t i = 0;; ++i) {
    if (!scanDecimal(text, pos, values[i])) return stored;
    ++stored;
    if (i == separators.size()) return stored;
    if (pos >= text.size() || text[pos] != separators[i]) return stored;
    ++pos;
  }
}

}  // namespace base
