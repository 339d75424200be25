#include "platform/mount_table.h"

#include <vector>

namespace platform {

namespace {

// A field of the mount table: blanks, tabs, line feeds and backslashes stand
// as octal escapes ("\040").
std::string unescaped(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  while (!line.empty()) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    line.remove_prefix(start);
    const std::size_t end = line.find(' ');
    fields.push_back(line.substr(0, end));
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
  }
  return fields;
}

}  // namespace

std::optional<MountedVolume> volumeMountedAt(std::string_view mountinfo, const std::string& place) {
  std::optional<MountedVolume> found;
  while (!mountinfo.empty()) {
    const std::size_t end = mountinfo.find('\n');
    const std::vector<std::string_view> fields = fieldsOf(mountinfo.substr(0, end));
    mountinfo.remove_prefix(end == std::string_view::npos ? mountinfo.size() : end + 1);
    // id parent major:minor root mount-point options [optional...] - type source options
    if (fields.size() < 7 || unescaped(fields[4]) != place) continue;
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (separator + 2 >= fields.size()) continue;
    found = MountedVolume{unescaped(fields[separator + 2]), unescaped(fields[separator + 1])};
  }
  return found;
}

}  // namespace platform
