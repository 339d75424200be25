// cdverify's own header dialect (ProfileDialect::kPosix).

#include <algorithm>
#include <cstring>

#include "base/c_scan.h"
#include "base/fixed_text.h"
#include "profile/dialect_rules.h"

namespace profile {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string headerText(std::string_view bytes, bool /*utf8*/) {
  return std::string(upToZeroByte(bytes));
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
void forEachLine(std::string_view text, Handler handle) {
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

void parse(std::string_view text, ProfileEntries& entries) {
  bool inSection = false;  // keys before the first section belong to none
  forEachLine(text, [&](std::string_view rawLine) {
    const std::string_view line = trim(rawLine, isBlank);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      entries.addSection(trim(line.substr(1, line.find(']') - 1), isBlank));
      inSection = true;
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !inSection) return;
    std::string_view value = trim(line.substr(equals + 1), isBlank);
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    entries.addKey(trim(line.substr(0, equals), isBlank), value, true);
  });
}

std::string_view lookupName(std::string_view name) { return name; }

std::string copyValue(std::string_view value, std::size_t size) {
  return std::string(base::fitTerminated(value, size));
}

int32_t readInt(std::optional<std::string_view> value, int32_t defaultValue) {
  if (!value || value->empty()) return defaultValue;
  std::size_t pos = 0;
  int32_t number = 0;
  return base::scanDecimal(*value, pos, number) ? number : 0;
}

}  // namespace

const DialectRules kPosixRules = {headerText, parse, lookupName, copyValue, readInt, false};

}  // namespace profile
