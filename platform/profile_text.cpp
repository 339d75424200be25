#include "platform/profile_text.h"

#include <algorithm>
#include <cstring>

#include "base/c_scan.h"
#include "base/fixed_text.h"
#include "base/utf8.h"
#include "platform/name_match.h"

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

// FNV-1a over the name's bytes with ASCII letters folded to upper case.
uint32_t foldedHash(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (const char c : name) hash = (hash ^ upperAscii(c)) * 16777619u;
  return hash;
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return upperAscii(x) < upperAscii(y); });
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

// The first c in [from, end), or end.
const char* nextOf(const char* from, const char* end, char c) {
  const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
  return found == nullptr ? end : static_cast<const char*>(found);
}

// Calls handle(line) for every line of text; lines end at CR LF, LF or CR. The
// next CR and the next LF are each searched for once, so any text costs linear
// time.
template <typename Handler>
void forEachPosixLine(std::string_view text, Handler handle) {
  const char* const end = text.data() + text.size();
  const char* line = text.data();
  const char* nextCr = nextOf(line, end, '\r');
  const char* nextLf = nextOf(line, end, '\n');
  while (line < end) {
    if (nextCr < line) nextCr = nextOf(line, end, '\r');
    if (nextLf < line) nextLf = nextOf(line, end, '\n');
    const char* const stop = std::min(nextCr, nextLf);
    handle(std::string_view(line, static_cast<std::size_t>(stop - line)));
    if (stop == end) return;
    line = stop + 1;
    if (*stop == '\r' && line < end && *line == '\n') ++line;
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
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Sequence read = readUtf8(text.substr(at));
    at += read.length;
    if (!read.valid) {
      out += '?';
    } else if (read.code > 0xFFFF) {
      out += "??";  // a surrogate pair, neither half in the code page
    } else {
      out += windows1252Byte(read.code);
    }
  }
  return out;
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes, ProfileDialect dialect) : dialect_(dialect) {
  sections_.reserve(16);
  keys_.reserve(64);
  const bool utf8 = bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
  if (utf8) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  if (dialect == ProfileDialect::kPosix) {
    text_ = upToZeroByte(bytes);
    parsePosix(text_);
  } else {
    text_ = utf8 ? utf8ToWindows1252(bytes) : std::string(bytes);
    parseWindows(text_);
  }
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (!sections_[i].name.empty()) byName_.push_back(i);
  }
  std::sort(byName_.begin(), byName_.end(), [this](std::size_t a, std::size_t b) {
    const Section &x = sections_[a], &y = sections_[b];
    if (x.hash != y.hash) return x.hash < y.hash;
    if (lessIgnoringCase(x.name, y.name)) return true;
    if (lessIgnoringCase(y.name, x.name)) return false;
    return a < b;
  });
  for (std::size_t i = 1; i < byName_.size(); ++i) {
    Section& section = sections_[byName_[i]];
    const Section& before = sections_[byName_[i - 1]];
    section.repeat = section.hash == before.hash && equalsIgnoringCase(section.name, before.name);
  }
}

void ProfileText::addSection(std::string_view name) {
  sections_.push_back(Section{name, foldedHash(name), keys_.size(), false});
}

void ProfileText::parsePosix(std::string_view text) {
  bool inSection = false;  // keys before the first section belong to none
  forEachPosixLine(text, [&](std::string_view rawLine) {
    const std::string_view line = trim(rawLine, isPosixBlank);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      addSection(trim(line.substr(1, line.find(']') - 1), isPosixBlank));
      inSection = true;
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !inSection) return;
    const std::string_view name = trim(line.substr(0, equals), isPosixBlank);
    keys_.push_back(Key{name, foldedHash(name),
                        unquotePosix(trim(line.substr(equals + 1), isPosixBlank)), true});
  });
}

void ProfileText::parseWindows(std::string_view text) {
  // Keys before the first section go into one without a name, which no lookup
  // finds and no listing shows.
  addSection({});
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
      continue;
    }
    Key key{upToZeroByte(line), 0, {}, false};
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      key.name = upToZeroByte(trim(line.substr(0, equals), isWindowsSpace));
      key.value = upToZeroByte(trim(line.substr(equals + 1), isWindowsSpace));
      key.hasValue = true;
    }
    key.hash = foldedHash(key.name);
    // A nameless key follows only a named one (or none), as the platform's reader
    // keeps them.
    const bool sectionHasKeys = keys_.size() > sections_.back().firstKey;
    if (!key.name.empty() || !sectionHasKeys || !keys_.back().name.empty()) keys_.push_back(key);
  }
}

const ProfileText::Section* ProfileText::findSection(std::string_view name) const {
  const uint32_t hash = foldedHash(name);
  // A header has a dozen sections or so: a scan in file order finds the first of
  // a name soonest. Only a large (damaged) header is searched by its index.
  constexpr std::size_t kScanned = 32;
  if (sections_.size() <= kScanned) {
    for (const Section& section : sections_) {
      if (section.hash == hash && !section.name.empty() && equalsIgnoringCase(section.name, name))
        return &section;
    }
    return nullptr;
  }
  const auto found = std::lower_bound(
      byName_.begin(), byName_.end(), name, [&](std::size_t index, std::string_view wanted) {
        const Section& section = sections_[index];
        return section.hash != hash ? section.hash < hash : lessIgnoringCase(section.name, wanted);
      });
  if (found == byName_.end()) return nullptr;
  const Section& section = sections_[*found];
  return section.hash == hash && equalsIgnoringCase(section.name, name) ? &section : nullptr;
}

std::optional<std::string_view> ProfileText::find(std::string_view section,
                                                  std::string_view key) const {
  if (dialect_ == ProfileDialect::kWindows) {
    section = trim(section, isWindowsSpace);
    key = trim(key, isWindowsSpace);
  }
  if (section.empty()) return std::nullopt;
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  const std::size_t end =
      found + 1 < sections_.data() + sections_.size() ? (found + 1)->firstKey : keys_.size();
  const uint32_t hash = foldedHash(key);
  for (std::size_t i = found->firstKey; i < end; ++i) {
    if (keys_[i].hash != hash || !equalsIgnoringCase(keys_[i].name, key)) continue;
    if (!keys_[i].hasValue) return std::nullopt;
    return keys_[i].value;
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
    const bool listed = dialect_ == ProfileDialect::kWindows || !section.repeat;
    if (!section.name.empty() && listed) names.emplace_back(section.name);
  }
  return names;
}

}  // namespace platform
