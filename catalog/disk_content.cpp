#include <string_view>

#include "catalog/disk_identity.h"
#include "platform/sha256.h"

namespace catalog {

namespace {

// Appends a field, its length first, so that no two lists of fields give one
// text.
void addField(std::string& text, std::string_view field) {
  text += std::to_string(field.size());
  text += ':';
  text += field;
}

}  // namespace

std::string contentOf(const std::vector<CataloguedFile>& files, const std::string& root) {
  if (files.empty()) return {};
  std::string text;
  for (const CataloguedFile& file : files) {
    const survey::FileRecord& r = file.record;
    addField(text, pathBelowRoot(r.path, root));
    for (const int64_t number : {file.size, int64_t{r.usable}, int64_t{file.stream},
                                 int64_t{r.frequency}, r.start, r.end}) {
      addField(text, std::to_string(number));
    }
    for (const std::string* field : {&r.station, &r.latitude, &r.longitude, &r.altitude})
      addField(text, *field);
  }
  return platform::sha256Hex(text);
}

}  // namespace catalog
