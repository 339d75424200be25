#include "sources/image_tree.h"

#include <algorithm>
#include <cstring>

#include "platform/name_match.h"

namespace sources {

platform::DirectoryEntry& addEntry(ImageTree& tree, const std::string& path, bool directory,
                                   bool regular) {
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (directory) tree.directories[path + "/"];
  return tree.directories[parent].emplace_back(
      platform::DirectoryEntry{name, name.front() == '.', !directory && !regular, directory});
}

void keepBytes(ImageFile& file, const char* data, std::size_t size, int64_t offset,
               const base::KeepPolicy& policy) {
  const int64_t end = offset + static_cast<int64_t>(size);
  if (!file.leadingDone && offset == static_cast<int64_t>(file.leading.size())) {
    const std::size_t room = policy.leadingLimit - file.leading.size();
    const void* zero = std::memchr(data, '\0', std::min(size, room));
    const std::size_t taken =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) + 1
                        : std::min(size, room);
    file.leading.append(data, taken);
    if (zero != nullptr || file.leading.size() == policy.leadingLimit) {
      file.leadingDone = true;
      for (const base::ByteRange& range : policy.rangesAfter(file.leading, file.length)) {
        file.kept.emplace_back(range, std::string());
      }
    }
  }
  for (auto& [range, bytes] : file.kept) {
    const int64_t from = std::max(range.offset + static_cast<int64_t>(bytes.size()), offset);
    const int64_t to = std::min(range.offset + range.size, end);
    if (from < to && from == range.offset + static_cast<int64_t>(bytes.size())) {
      bytes.append(data + (from - offset), static_cast<std::size_t>(to - from));
    }
  }
}

void forgetRange(ImageFile& file, base::ByteRange range) {
  const int64_t end = range.offset + range.size;
  if (range.offset < static_cast<int64_t>(file.leading.size()))
    file.leading.resize(static_cast<std::size_t>(std::max<int64_t>(range.offset, 0)));
  for (auto& [kept, bytes] : file.kept) {
    const int64_t keptEnd = kept.offset + static_cast<int64_t>(bytes.size());
    if (range.offset < keptEnd && end > kept.offset)
      bytes.resize(static_cast<std::size_t>(std::max<int64_t>(range.offset - kept.offset, 0)));
  }
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

}  // namespace sources
