// The Windows platform's private-profile dialect (ProfileDialect::kWindows).

#include "profile/code_page.h"
#include "profile/dialect_rules.h"

namespace profile {
namespace {

// White space as the Windows platform's profile reader trims it.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string headerText(std::string_view bytes, bool utf8) {
  return utf8 ? utf8ToWindows1252(bytes) : std::string(bytes);
}

void parse(std::string_view text, ProfileEntries& entries) {
  // Keys before the first section go into one without a name, which no lookup
  // finds and no listing shows.
  entries.addSection({});
  std::size_t next = 0;
  while (next < text.size()) {
    const std::size_t start = next;
    while (next < text.size() && text[next] != '\n' && text[next] != '\r') ++next;
    const std::size_t end = next;
    while (next < text.size() && (text[next] == '\n' || text[next] == '\r')) ++next;
    const std::string_view line = trim(text.substr(start, end - start), isSpace);
    if (line.empty()) continue;

    const std::size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
      entries.addSection(upToZeroByte(trim(line.substr(1, close - 1), isSpace)));
      continue;
    }
    std::string_view name = upToZeroByte(line), value;
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      name = upToZeroByte(trim(line.substr(0, equals), isSpace));
      value = upToZeroByte(trim(line.substr(equals + 1), isSpace));
    }
    // A nameless key follows only a named one (or none), as the platform's reader
    // keeps them.
    if (!name.empty() || !entries.lastSectionHasKeys() || !entries.keys.back().name.empty())
      entries.addKey(name, value, equals != std::string_view::npos);
  }
}

std::string_view lookupName(std::string_view name) { return trim(name, isSpace); }

// The copy into a buffer of size characters: a quoted value loses its opening
// quote, and its closing one when the copy reaches it.
std::string copyValue(std::string_view value, std::size_t size) {
  if (size == 0) return {};
  const bool quoted = isQuoted(value);
  if (quoted) value.remove_prefix(1);
  std::string copy(value.substr(0, size - 1));
  if (quoted && size >= value.size() && !copy.empty()) copy.pop_back();
  return copy;
}

// The integer: base from a lower-case prefix, digits and letters of that base,
// wrapping in 32 bits.
int32_t integerOf(std::string_view text) {
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

int32_t readInt(std::optional<std::string_view> value, int32_t defaultValue) {
  // The platform reads the value into a buffer of 30 characters first.
  const std::string text = copyValue(value.value_or(""), 30);
  return text.empty() ? defaultValue : integerOf(text);
}

}  // namespace

const DialectRules kWindowsRules = {headerText, parse, lookupName, copyValue, readInt, true};

}  // namespace profile
