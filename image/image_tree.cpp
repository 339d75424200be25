#include "image/image_tree.h"

#include <algorithm>

#include "platform/name_match.h"

namespace image {

platform::DirectoryEntry& addEntry(ImageTree& tree, const std::string& path, bool directory,
                                   bool regular) {
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (directory) tree.directories[path + "/"];
  return tree.directories[parent].emplace_back(
      platform::DirectoryEntry{name, name.front() == '.', !directory && !regular, directory});
}

bool isListed(const ImageTree& tree, const std::string& directory) {
  if (directory.empty()) return true;
  const std::string path = directory.substr(0, directory.size() - 1);
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = path.substr(parent.size());
  const auto found = tree.directories.find(parent);
  return found != tree.directories.end() &&
         std::any_of(
             found->second.begin(), found->second.end(),
             [&](const platform::DirectoryEntry& e) { return e.directory && e.name == name; }) &&
         isListed(tree, parent);
}

void finishListings(ImageTree& tree) {
  for (auto& [directory, entries] : tree.directories) {
    entries.insert(entries.begin(), {platform::DirectoryEntry{".", true, false, true},
                                     platform::DirectoryEntry{"..", true, false, true}});
    std::sort(entries.begin(), entries.end(),
              [](const platform::DirectoryEntry& x, const platform::DirectoryEntry& y) {
                return platform::entryNameLess(x.name, y.name);
              });
  }
}

}  // namespace image
