#include "fixity/file_fixity.h"

#include <algorithm>

namespace fixity {

std::string manifestText(std::vector<FileFixity> files) {
  std::sort(files.begin(), files.end(),
            [](const FileFixity& a, const FileFixity& b) { return a.path < b.path; });
  std::string text;
  for (const FileFixity& file : files) {
    if (file.sha256.empty()) continue;
    std::string path;
    bool escaped = false;
    for (const char c : file.path) {
      if (c == '\\' || c == '\n' || c == '\r') {
        escaped = true;
        path += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : "\\r";
      } else {
        path += c;
      }
    }
    text += (escaped ? "\\" : "") + file.sha256 + "  " + path + "\n";
  }
  return text;
}

}  // namespace fixity
