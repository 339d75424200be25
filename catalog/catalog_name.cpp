#include "catalog/catalog_name.h"

#include <algorithm>

#include "base/printable_name.h"

namespace catalog {

std::string shownCatalogName(const std::string& name) {
  if (!isCatalogUrl(name)) return name;
  std::string shown = name;
  const std::size_t authority = shown.find("://") + 3;
  const std::size_t authorityEnd = std::min(shown.find_first_of("/?", authority), shown.size());
  const std::size_t at = shown.rfind('@', authorityEnd);
  if (at != std::string::npos && at >= authority) {
    const std::size_t colon = shown.find(':', authority);
    if (colon < at) shown.replace(colon + 1, at - colon - 1, "***");
  }
  for (std::size_t from = shown.find('?'); from != std::string::npos;
       from = shown.find('&', from + 1)) {
    if (shown.compare(from + 1, 9, "password=") != 0) continue;
    const std::size_t value = from + 10;
    shown.replace(value, std::min(shown.find('&', value), shown.size()) - value, "***");
  }
  return shown;
}

std::vector<std::string> companionFiles(const std::string& name) {
  if (isCatalogUrl(name)) return {};
  return {name + "-journal", name + "-wal", name + "-shm"};
}

std::optional<std::string> refusalOf(const std::string& name, guard::WriteGuard& guard) {
  if (isCatalogUrl(name)) return std::nullopt;
  std::vector<std::string> files = companionFiles(name);
  files.insert(files.begin(), name);
  for (const std::string& file : files) {
    if (const std::optional<guard::WriteGuard::Refusal> refusal = guard.refusal(file)) {
      return "catalogue " + base::printableName(name) +
             (file == name ? "" : " (its file " + base::printableName(file) + ")") + " " +
             refusal->reason + ": it is not opened";
    }
  }
  return std::nullopt;
}

}  // namespace catalog
