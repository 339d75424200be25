#pragma once

#include <string>
#include <vector>

namespace catalog {

// How a store keeps a list of texts in one column: the texts joined by
// separator (',' for the kinds of findings, which hold none; '\n' for clock
// messages, which hold none either). An empty list is an empty text.
std::string joinedList(const std::vector<std::string>& items, char separator);
std::vector<std::string> splitList(const std::string& text, char separator);

}  // namespace catalog
