#include "profile/profile_text.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "profile/dialect_rules.h"

namespace profile {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

const DialectRules& rulesOf(ProfileDialect dialect) {
  return dialect == ProfileDialect::kPosix ? kPosixRules : kWindowsRules;
}

}  // namespace

uint32_t foldedHash(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (const char c : name) hash = (hash ^ base::upperAscii(c)) * 16777619u;
  return hash;
}

void ProfileEntries::addSection(std::string_view name) {
  sections.push_back(Section{name, foldedHash(name), keys.size(), false});
  keepingKeys = onlySection.empty() || base::equalsIgnoringCase(name, onlySection);
}

void ProfileEntries::addKey(std::string_view name, std::string_view value, bool hasValue) {
  if (keepingKeys) keys.push_back(Key{name, foldedHash(name), value, hasValue});
}

ProfileText::ProfileText(std::string_view bytes, ProfileDialect dialect,
                         std::string_view onlySection)
    : rules_(rulesOf(dialect)) {
  entries_.onlySection = rules_.lookupName(onlySection);
  entries_.sections.reserve(16);
  entries_.keys.reserve(entries_.onlySection.empty() ? 64 : 16);
  const bool utf8 = bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
  if (utf8) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  text_ = rules_.headerText(bytes, utf8);
  rules_.parse(text_, entries_);

  std::vector<Section>& sections = entries_.sections;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!sections[i].name.empty()) byName_.push_back(i);
  }
  std::sort(byName_.begin(), byName_.end(), [&](std::size_t a, std::size_t b) {
    const Section &x = sections[a], &y = sections[b];
    if (x.hash != y.hash) return x.hash < y.hash;
    if (base::lessIgnoringCase(x.name, y.name)) return true;
    if (base::lessIgnoringCase(y.name, x.name)) return false;
    return a < b;
  });
  for (std::size_t i = 1; i < byName_.size(); ++i) {
    Section& section = sections[byName_[i]];
    const Section& before = sections[byName_[i - 1]];
    section.repeat =
        section.hash == before.hash && base::equalsIgnoringCase(section.name, before.name);
  }
}

const ProfileText::Section* ProfileText::findSection(std::string_view name) const {
  const std::vector<Section>& sections = entries_.sections;
  const uint32_t hash = foldedHash(name);
  // A header has a dozen sections or so: a scan in file order finds the first of
  // a name soonest. Only a large (damaged) header is searched by its index.
  constexpr std::size_t kScanned = 32;
  if (sections.size() <= kScanned) {
    for (const Section& section : sections) {
      if (section.hash == hash && !section.name.empty() &&
          base::equalsIgnoringCase(section.name, name))
        return &section;
    }
    return nullptr;
  }
  const auto found = std::lower_bound(
      byName_.begin(), byName_.end(), name, [&](std::size_t index, std::string_view wanted) {
        const Section& section = sections[index];
        return section.hash != hash ? section.hash < hash
                                    : base::lessIgnoringCase(section.name, wanted);
      });
  if (found == byName_.end()) return nullptr;
  const Section& section = sections[*found];
  return section.hash == hash && base::equalsIgnoringCase(section.name, name) ? &section : nullptr;
}

std::optional<std::string_view> ProfileText::find(std::string_view section,
                                                  std::string_view key) const {
  section = rules_.lookupName(section);
  key = rules_.lookupName(key);
  if (section.empty()) return std::nullopt;
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  const std::vector<Section>& sections = entries_.sections;
  const std::vector<ProfileEntries::Key>& keys = entries_.keys;
  const std::size_t end =
      found + 1 < sections.data() + sections.size() ? (found + 1)->firstKey : keys.size();
  const uint32_t hash = foldedHash(key);
  for (std::size_t i = found->firstKey; i < end; ++i) {
    if (keys[i].hash != hash || !base::equalsIgnoringCase(keys[i].name, key)) continue;
    if (!keys[i].hasValue) return std::nullopt;
    return keys[i].value;
  }
  return std::nullopt;
}

std::string ProfileText::readString(std::string_view section, std::string_view key,
                                    std::size_t size) const {
  return rules_.copyValue(find(section, key).value_or(""), size);
}

int32_t ProfileText::readInt(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  return rules_.readInt(find(section, key), defaultValue);
}

std::vector<std::string> ProfileText::sectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : entries_.sections) {
    const bool listed = rules_.listsRepeatedSections || !section.repeat;
    if (!section.name.empty() && listed) names.emplace_back(section.name);
  }
  return names;
}

}  // namespace profile
