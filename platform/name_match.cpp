#include "platform/name_match.h"

#include <algorithm>

#include "base/ascii_case.h"

namespace platform {
namespace {

// Glob match with "*" and "?", iterative with one backtrack point: linear in
// practice and never recursive, whatever the pattern.
bool globMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || base::upperAscii(pattern[p]) == base::upperAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  if (pattern == "*.") return name.find('.') == std::string_view::npos;
  return globMatch(pattern, name);
}

bool entryNameLess(std::string_view a, std::string_view b) {
  if (base::lessIgnoringCase(a, b)) return true;
  if (base::lessIgnoringCase(b, a)) return false;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

}  // namespace platform
