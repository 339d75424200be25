#pragma once

// What differs between the header dialects, one file per dialect; the reader
// itself (profile_text.cpp) holds no rule of either.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_dialect.h"
#include "profile/profile_entries.h"

namespace profile {

struct DialectRules {
  // The text the dialect parses, from a file's bytes without a UTF-8
  // byte-order mark (utf8: there was one).
  std::string (*headerText)(std::string_view bytes, bool utf8);
  // Splits text into sections and keys.
  void (*parse)(std::string_view text, ProfileEntries& entries);
  // A looked-up section or key name as the dialect compares it.
  std::string_view (*lookupName)(std::string_view name);
  // A found value (empty when absent) as a reader gets it in a buffer of size
  // characters.
  std::string (*copyValue)(std::string_view value, std::size_t size);
  // A found value read as an integer (nothing: absent).
  int32_t (*readInt)(std::optional<std::string_view> value, int32_t defaultValue);
  // Every section is listed, repeated names included; else each name once.
  bool listsRepeatedSections;
};

extern const DialectRules kPosixRules;
extern const DialectRules kWindowsRules;

// Helpers both dialects share.
template <typename IsSpace>
std::string_view trim(std::string_view text, IsSpace isSpace) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The text up to its first zero byte, as a C string ends there.
inline std::string_view upToZeroByte(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// A value of two characters or more that begins and ends with the same quote.
inline bool isQuoted(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

}  // namespace profile
