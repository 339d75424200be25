#include "catalog/text_list.h"

#include <charconv>
#include <utility>

namespace catalog {

std::string joinedList(const std::vector<std::string>& items, char separator) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += separator;
    text += items[i];
  }
  return text;
}

std::vector<std::string> splitList(const std::string& text, char separator) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
    items.push_back(text.substr(from, at - from));
  items.push_back(text.substr(from));
  return items;
}

namespace {

std::vector<std::pair<int64_t, int64_t>> pairsOf(const std::string& text) {
  std::vector<std::pair<int64_t, int64_t>> pairs;
  for (const std::string& item : splitList(text, ',')) {
    int64_t first = 0, second = 0;
    const char* const end = item.data() + item.size();
    const auto [next, firstError] = std::from_chars(item.data(), end, first);
    if (firstError != std::errc() || next == end || *next != ' ') continue;
    if (std::from_chars(next + 1, end, second).ec == std::errc()) pairs.emplace_back(first, second);
  }
  return pairs;
}

}  // namespace

std::string rangesText(const std::vector<base::ByteRange>& ranges) {
  std::vector<std::string> items;
  for (const base::ByteRange& r : ranges)
    items.push_back(std::to_string(r.offset) + " " + std::to_string(r.size));
  return joinedList(items, ',');
}

std::vector<base::ByteRange> rangesOf(const std::string& text) {
  std::vector<base::ByteRange> ranges;
  for (const auto& [offset, size] : pairsOf(text)) ranges.push_back({offset, size});
  return ranges;
}

std::string spansText(const std::vector<times::TimeSpan>& spans) {
  std::vector<std::string> items;
  for (const times::TimeSpan& s : spans)
    items.push_back(std::to_string(s.start) + " " + std::to_string(s.end));
  return joinedList(items, ',');
}

std::vector<times::TimeSpan> spansOf(const std::string& text) {
  std::vector<times::TimeSpan> spans;
  for (const auto& [start, end] : pairsOf(text)) spans.push_back({start, end});
  return spans;
}

}  // namespace catalog
