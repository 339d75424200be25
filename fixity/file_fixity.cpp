#include "fixity/file_fixity.h"

#include <algorithm>

namespace fixity {

std::string manifestText(const std::vector<FileFixity>& files) {
  std::vector<const FileFixity*> listed;
  listed.reserve(files.size());
  std::size_t size = 0;
  for (const FileFixity& file : files) {
    if (file.sha256.empty()) continue;
    listed.push_back(&file);
    size += file.sha256.size() + file.path.size() + 4;
  }
  std::sort(listed.begin(), listed.end(),
            [](const FileFixity* a, const FileFixity* b) { return a->path < b->path; });
  std::string text;
  text.reserve(size);
  for (const FileFixity* file : listed) {
    const bool escaped = file->path.find_first_of("\\\n\r") != std::string::npos;
    if (escaped) text += '\\';
    text += file->sha256;
    text += "  ";
    for (const char c : file->path) {
      if (c == '\\') {
        text += "\\\\";
      } else if (c == '\n') {
        text += "\\n";
      } else if (c == '\r') {
        text += "\\r";
      } else {
        text += c;
      }
    }
    text += '\n';
  }
  return text;
}

}  // namespace fixity
