#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

// The sections and keys of a data file's text header, parsed from its bytes with
// the rules of the host's initialisation-file reader:
// - the text is the bytes before the first zero byte; a UTF-8 byte-order mark at
//   its start is skipped;
// - lines end at CR LF, LF or a lone CR;
// - a line whose first non-blank character is ';' is a comment (a later ';' is
//   part of a value);
// - "[name]" starts a section; blanks and tabs around the name inside the
//   brackets are trimmed (a missing ']' ends the name at the line's end);
// - "key = value" gives a value; blanks and tabs around key and value are trimmed,
//   and a value of two characters or more that begins and ends with the same quote
//   (" or ') loses those two quotes; a line without '=' gives nothing, and keys
//   before the first section belong to none;
// - section and key names compare ignoring ASCII case; only the first section of
//   a repeated name is searched, and the first of a repeated key wins.
class ProfileText {
 public:
  explicit ProfileText(std::string_view bytes);

  // The value of key in section; nothing when either is absent.
  std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

  // Section names in order of first appearance, one for each distinct name.
  std::vector<std::string> sectionNames() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  const Section* findSection(std::string_view name) const;

  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> indexByFoldedName_;
};

// A value read as an integer: white space skipped, an optional sign, decimal
// digits up to the first non-digit, wrapping modulo 2^32; 0 when no digit comes.
// An absent or empty value gives defaultValue.
int32_t profileIntValue(std::optional<std::string_view> value, int32_t defaultValue);

}  // namespace platform
