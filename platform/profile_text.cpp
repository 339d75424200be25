#include "platform/profile_text.h"

#include "base/c_scan.h"
#include "base/fixed_text.h"

namespace platform {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool isPosixBlank(char c) { return c == ' ' || c == '\t'; }

// White space as the Windows platform's profile reader trims it.
bool isWindowsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

template <typename IsSpace>
std::string_view trim(std::string_view text, IsSpace isSpace) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string foldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

// The text up to its first zero byte, as a C string ends there.
std::string_view upToZeroByte(std::string_view text) { return text.substr(0, text.find('\0')); }

bool startsWithQuote(std::string_view value) {
  return !value.empty() && (value.front() == '"' || value.front() == '\'');
}

std::string_view unquotePosix(std::string_view value) {
  if (value.size() >= 2 && startsWithQuote(value) && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Calls handle(line) for every line of text; lines end at CR LF, LF or CR.
template <typename Handler>
void forEachPosixLine(std::string_view text, Handler handle) {
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

// The Windows reader's integer: base from a lower-case prefix, digits and
// letters of that base, wrapping in 32 bits.
int32_t windowsInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  uint32_t base = 10;
  if (text.size() - at >= 2 && text[at] == '0') {
    const char kind = text[at + 1];
    base = kind == 'x' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 10;
    if (base != 10) at += 2;
  }
  uint32_t total = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    uint32_t digit = base;
    if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
    if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
    if (digit >= base) break;
    total = total * base + digit;
  }
  return static_cast<int32_t>(negative ? 0u - total : total);
}

// The Windows reader's copy of a value into a buffer of size characters: a
// quoted value loses its opening quote, and its closing one when the copy
// reaches it.
std::string windowsBufferCopy(std::string_view value, std::size_t size) {
  if (size == 0) return {};
  bool quoted = false;
  if (value.size() >= 2 && startsWithQuote(value) && value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::string copy(value.substr(0, size - 1));
  if (quoted && size >= value.size() && !copy.empty()) copy.pop_back();
  return copy;
}

// The Windows code page 1252 byte of a UTF-16 unit, '?' where it has none
// (best-fit replacements of other characters are not reproduced).
char windows1252Byte(uint32_t unit) {
  static constexpr uint16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (uint32_t i = 0; i < 32; ++i) {
    if (kHigh[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// A text that starts with a UTF-8 byte-order mark is read as UTF-8 and handed
// out in the ANSI code page: each undecodable sequence becomes one '?', as does
// every character that code page lacks.
std::string utf8ToWindows1252(std::string_view text) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    const int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    uint32_t code = lead & (0x3Fu >> extra);
    int taken = 0;
    for (; taken < extra && at < text.size(); ++taken, ++at) {
      const auto next = static_cast<unsigned char>(text[at]);
      // The second byte's range excludes overlong forms, surrogates and values
      // past U+10FFFF.
      const unsigned char low = taken > 0 ? 0x80 : lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
      const unsigned char high = taken > 0      ? 0xBF
                                 : lead == 0xED ? 0x9F
                                 : lead == 0xF4 ? 0x8F
                                                : 0xBF;
      if (lead >= 0xF5 || next < low || next > high) break;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (extra == 0 || taken < extra) {
      out += '?';
    } else if (code > 0xFFFF) {
      out += "??";  // a surrogate pair, neither half in the code page
    } else {
      out += windows1252Byte(code);
    }
  }
  return out;
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes, ProfileDialect dialect) : dialect_(dialect) {
  const bool utf8 = bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
  if (utf8) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  if (dialect == ProfileDialect::kPosix) {
    parsePosix(upToZeroByte(bytes));
  } else if (utf8) {
    parseWindows(utf8ToWindows1252(bytes));
  } else {
    parseWindows(bytes);
  }
}

ProfileText::Section* ProfileText::addSection(std::string_view name) {
  const auto [entry, isNew] = firstSectionByName_.emplace(foldCase(name), sections_.size());
  if (!isNew && dialect_ == ProfileDialect::kPosix) return nullptr;  // never searched
  sections_.push_back(Section{std::string(name), {}});
  return &sections_.back();
}

void ProfileText::parsePosix(std::string_view text) {
  Section* current = nullptr;  // where keys go; none before the first section
  forEachPosixLine(text, [&](std::string_view rawLine) {
    const std::string_view line = trim(rawLine, isPosixBlank);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      current = addSection(trim(line.substr(1, line.find(']') - 1), isPosixBlank));
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || current == nullptr) return;
    current->keys.push_back(
        Key{std::string(trim(line.substr(0, equals), isPosixBlank)),
            std::string(unquotePosix(trim(line.substr(equals + 1), isPosixBlank)))});
  });
}

void ProfileText::parseWindows(std::string_view text) {
  // Keys before the first section go into one without a name, which no lookup
  // finds and no listing shows.
  sections_.push_back(Section{});
  std::size_t current = 0;
  std::size_t next = 0;
  while (next < text.size()) {
    const std::size_t start = next;
    while (next < text.size() && text[next] != '\n' && text[next] != '\r') ++next;
    const std::size_t end = next;
    while (next < text.size() && (text[next] == '\n' || text[next] == '\r')) ++next;
    const std::string_view line = trim(text.substr(start, end - start), isWindowsSpace);
    if (line.empty()) continue;

    const std::size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
      addSection(upToZeroByte(trim(line.substr(1, close - 1), isWindowsSpace)));
      current = sections_.size() - 1;
      continue;
    }
    Key key;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      key.name = upToZeroByte(line);
    } else {
      key.name = upToZeroByte(trim(line.substr(0, equals), isWindowsSpace));
      key.value = std::string(upToZeroByte(trim(line.substr(equals + 1), isWindowsSpace)));
    }
    // A nameless key follows only a named one (or none), as the platform's reader
    // keeps them.
    std::vector<Key>& keys = sections_[current].keys;
    if (!key.name.empty() || keys.empty() || !keys.back().name.empty()) {
      keys.push_back(std::move(key));
    }
  }
}

std::optional<std::string_view> ProfileText::find(std::string_view section,
                                                  std::string_view key) const {
  if (dialect_ == ProfileDialect::kWindows) {
    section = trim(section, isWindowsSpace);
    key = trim(key, isWindowsSpace);
  }
  if (section.empty()) return std::nullopt;
  const auto found = firstSectionByName_.find(foldCase(section));
  if (found == firstSectionByName_.end()) return std::nullopt;
  const std::string foldedKey = foldCase(key);
  for (const Key& candidate : sections_[found->second].keys) {
    if (foldCase(candidate.name) != foldedKey) continue;
    if (!candidate.value) return std::nullopt;
    return std::string_view(*candidate.value);
  }
  return std::nullopt;
}

std::string ProfileText::readString(std::string_view section, std::string_view key,
                                    std::size_t size) const {
  const std::string_view value = find(section, key).value_or("");
  if (dialect_ == ProfileDialect::kWindows) return windowsBufferCopy(value, size);
  return std::string(fitTerminated(value, size));
}

int32_t ProfileText::readInt(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  if (dialect_ == ProfileDialect::kWindows) {
    // The platform reads the value into a buffer of 30 characters first.
    const std::string text = readString(section, key, 30);
    return text.empty() ? defaultValue : windowsInteger(text);
  }
  const std::optional<std::string_view> value = find(section, key);
  if (!value || value->empty()) return defaultValue;
  std::size_t pos = 0;
  int32_t number = 0;
  return scanDecimal(*value, pos, number) ? number : 0;
}

std::vector<std::string> ProfileText::sectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) {
    if (!section.name.empty()) names.push_back(section.name);
  }
  return names;
}

}  // namespace platform
