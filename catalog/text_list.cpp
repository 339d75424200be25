#include "catalog/text_list.h"

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

}  // namespace catalog
