#include "platform/profile_text.h"

#include "base/c_scan.h"
#include "platform/name_match.h"

namespace platform {
namespace {

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string foldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Calls handle(line) for every line of text; lines end at CR LF, LF or CR.
template <typename Handler>
void forEachLine(std::string_view text, Handler handle) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      handle(text.substr(start));
      return;
    }
    handle(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes) {
  std::string_view text = bytes.substr(0, bytes.find('\0'));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  Section* current = nullptr;  // where keys go; none before the first section
  forEachLine(text, [&](std::string_view rawLine) {
    const std::string_view line = trimBlanks(rawLine);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      const std::string_view inside = line.substr(1, line.find(']') - 1);
      const std::string_view name = trimBlanks(inside);
      const auto [entry, isNew] = indexByFoldedName_.emplace(foldCase(name), sections_.size());
      if (isNew) {
        sections_.push_back(Section{std::string(name), {}});
        current = &sections_.back();
      } else {
        current = nullptr;  // a repeated section is never searched
      }
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || current == nullptr) return;
    current->keys.emplace_back(std::string(trimBlanks(line.substr(0, equals))),
                               std::string(unquote(trimBlanks(line.substr(equals + 1)))));
  });
}

const ProfileText::Section* ProfileText::findSection(std::string_view name) const {
  const auto found = indexByFoldedName_.find(foldCase(name));
  return found == indexByFoldedName_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string_view> ProfileText::find(std::string_view section,
                                                  std::string_view key) const {
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  for (const auto& [name, value] : found->keys) {
    if (equalsIgnoringCase(name, key)) return std::string_view(value);
  }
  return std::nullopt;
}

std::vector<std::string> ProfileText::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

int32_t profileIntValue(std::optional<std::string_view> value, int32_t defaultValue) {
  if (!value || value->empty()) return defaultValue;
  std::size_t pos = 0;
  int32_t number = 0;
  return scanDecimal(*value, pos, number) ? number : 0;
}

}  // namespace platform
