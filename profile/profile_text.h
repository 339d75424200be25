#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/profile_dialect.h"
#include "profile/profile_entries.h"

namespace profile {

struct DialectRules;

// The sections and keys of a data file's text header, parsed once from its bytes;
// every lookup after that is answered from memory, without allocating.
class ProfileText {
 public:
  // With onlySection, the keys of other sections are not kept (a lookup there
  // finds none): a cheaper read when one section is all that is asked.
  ProfileText(std::string_view bytes, ProfileDialect dialect, std::string_view onlySection = {});
  // Names and values are views into the text the object holds.
  ProfileText(const ProfileText&) = delete;
  ProfileText& operator=(const ProfileText&) = delete;

  // The value of key in section as the platform's string reader gives it into a
  // buffer of size characters: at most size - 1 characters; the empty text when
  // the section or the key is absent or has no value.
  std::string readString(std::string_view section, std::string_view key, std::size_t size) const;

  // The value of key in section read as an integer; defaultValue when the section
  // or the key is absent or its value is empty.
  int32_t readInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

  // The section names in file order: one for each distinct name (kPosix), or
  // every section with a name, repeats included (kWindows).
  std::vector<std::string> sectionNames() const;

  // The stored value of key in section (for kPosix without its quotes); nothing
  // when the section or key is absent or the key has no value.
  std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

 private:
  using Section = ProfileEntries::Section;
  // The first section named name (ignoring ASCII case); null when none.
  const Section* findSection(std::string_view name) const;

  const DialectRules& rules_;
  std::string text_;  // the header text that names and values point into
  ProfileEntries entries_;
  // Indexes of the named sections, ordered by hash, then name ignoring ASCII
  // case, then position: the first of equal names comes first.
  std::vector<std::size_t> byName_;
};

}  // namespace profile
