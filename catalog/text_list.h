#pragma once

#include <string>
#include <vector>

#include "base/byte_range.h"
#include "times/span_union.h"

namespace catalog {

// How a store keeps a list of texts in one column: the texts joined by
// separator (',' for the kinds of findings, which hold none; '\n' for clock
// messages, which hold none either). An empty list is an empty text.
std::string joinedList(const std::vector<std::string>& items, char separator);
std::vector<std::string> splitList(const std::string& text, char separator);

// Byte ranges and spans of time as one column keeps them: "FIRST LENGTH" (a
// range's offset and size, a span's start and end) joined by ','. A text that
// is not such a list gives what can be read of it.
std::string rangesText(const std::vector<base::ByteRange>& ranges);
std::vector<base::ByteRange> rangesOf(const std::string& text);
std::string spansText(const std::vector<times::TimeSpan>& spans);
std::vector<times::TimeSpan> spansOf(const std::string& text);

}  // namespace catalog
