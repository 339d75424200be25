#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace queries {

// One way to write a report of Input: its name, as --format takes it, and the
// writer.
template <typename Input>
struct ReportFormat {
  std::string_view name;
  std::string (*write)(const Input& input);
};

// The names of formats in their order (the default first), as an option's
// choices.
template <typename Input>
std::vector<std::string> formatNames(const std::vector<ReportFormat<Input>>& formats) {
  std::vector<std::string> names;
  for (const ReportFormat<Input>& format : formats) names.emplace_back(format.name);
  return names;
}

// The format of that name among formats; the first (the default) when there
// is none, which the options' choices never let through.
template <typename Input>
const ReportFormat<Input>& formatNamed(const std::vector<ReportFormat<Input>>& formats,
                                       std::string_view name) {
  for (const ReportFormat<Input>& format : formats) {
    if (format.name == name) return format;
  }
  return formats.front();
}

}  // namespace queries
