#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace profile {

// The sections and keys of a header text in file order, as a dialect's parser
// finds them. Names and values are views into the text parsed. Names carry a
// hash of their letters folded to upper case, so that most comparisons are of
// two integers.
struct ProfileEntries {
  struct Key {
    std::string_view name;
    uint32_t hash;
    std::string_view value;
    bool hasValue;
  };
  struct Section {
    std::string_view name;
    uint32_t hash;
    std::size_t firstKey;  // its keys are keys[firstKey, keys.size() or the next section's)
    bool repeat;           // an earlier section has the same name
  };

  void addSection(std::string_view name);
  // Added to the latest section; passed over when onlySection names another.
  void addKey(std::string_view name, std::string_view value, bool hasValue);
  // True when the latest section has at least one key.
  bool lastSectionHasKeys() const {
    return !sections.empty() && keys.size() > sections.back().firstKey;
  }

  std::vector<Section> sections;
  std::vector<Key> keys;
  // When not empty, only the keys of sections of this name (ignoring ASCII
  // case) are kept.
  std::string_view onlySection;
  bool keepingKeys = true;  // whether the latest section's keys are kept
};

// FNV-1a over the name's bytes with ASCII letters folded to upper case.
uint32_t foldedHash(std::string_view name);

}  // namespace profile
