#include "sources/tree_disk.h"

#include <algorithm>
#include <cstring>

#include "platform/name_match.h"
#include "platform/path_rules.h"

namespace sources {
namespace {

class ImageFileReader : public platform::OpenFile {
 public:
  explicit ImageFileReader(const ImageFile& file) : file_(file) {}
  int64_t length() const override { return file_.length; }
  int64_t modified() const override { return file_.modified; }
  base::Outcome<int64_t> readAt(int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0) return base::failure("a negative offset");
    if (offset >= file_.length) return 0;
    if (offset < static_cast<int64_t>(file_.leading.size())) {
      return copyFrom(file_.leading, offset, buffer, size);
    }
    for (const auto& [range, bytes] : file_.kept) {
      if (offset >= range.offset && offset < range.offset + static_cast<int64_t>(bytes.size())) {
        return copyFrom(bytes, offset - range.offset, buffer, size);
      }
    }
    return base::failure("the image does not hold these bytes");  // or they were not kept
  }

 private:
  static int64_t copyFrom(const std::string& bytes, int64_t at, char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, bytes.size() - static_cast<std::size_t>(at));
    std::memcpy(buffer, bytes.data() + at, count);
    return static_cast<int64_t>(count);
  }
  const ImageFile& file_;
};

}  // namespace

TreeDisk::TreeDisk(std::string root, std::string resolvedImage, ImageTree tree,
                   platform::Disk& host)
    : root_(std::move(root)),
      resolvedImage_(std::move(resolvedImage)),
      tree_(std::move(tree)),
      host_(host) {}

bool TreeDisk::inTree(const std::string& path) const {
  return path.compare(0, root_.size(), root_) == 0;
}

std::string TreeDisk::treePathOf(const std::string& path) const {
  std::string below = path.substr(root_.size());
  if (platform::kPathSeparator != '/')
    std::replace(below.begin(), below.end(), platform::kPathSeparator, '/');
  return below;
}

base::Outcome<std::vector<platform::DirectoryEntry>> TreeDisk::list(const std::string& pattern) {
  const std::string directory = platform::directoryPart(pattern);
  if (!inTree(directory)) return host_.list(pattern);
  const std::string treePath = treePathOf(directory);
  if (tree_.unlistable.count(treePath) != 0)
    return base::failure("its directory record cannot be read from the image");
  std::vector<platform::DirectoryEntry> matched;
  const auto found = tree_.directories.find(treePath);
  if (found == tree_.directories.end()) return matched;
  const std::string wildcard = pattern.substr(directory.size());
  for (const platform::DirectoryEntry& entry : found->second) {
    if (platform::wildcardMatch(wildcard, entry.name)) matched.push_back(entry);
  }
  return matched;
}

base::Outcome<std::unique_ptr<platform::OpenFile>> TreeDisk::openForReading(
    const std::string& path) {
  if (!inTree(path)) return host_.openForReading(path);
  const auto found = tree_.files.find(treePathOf(path));
  if (found == tree_.files.end()) return base::failure("the image holds no such file");
  std::unique_ptr<platform::OpenFile> file = std::make_unique<ImageFileReader>(*found->second);
  return file;
}

base::Status TreeDisk::appendToFile(const std::string& path, std::string_view bytes) {
  if (inTree(path)) return base::failure("it lies inside a disk image, which is only read");
  return host_.appendToFile(path, bytes);
}

base::Outcome<std::string> TreeDisk::resolve(const std::string& path) {
  if (!inTree(path)) return host_.resolve(path);
  return resolvedImage_ + platform::kPathSeparator + path.substr(root_.size());
}

base::Outcome<platform::FileFacts> TreeDisk::inspect(const std::string& path) {
  if (inTree(path)) return base::failure("a file of a disk image has no identity on the host");
  return host_.inspect(path);
}

std::optional<std::string> TreeDisk::volumeLabel(const std::string& folder) {
  return host_.volumeLabel(folder);
}

base::Status TreeDisk::replaceFile(const std::string& path, std::string_view bytes) {
  if (inTree(path)) return base::failure("it lies inside a disk image, which is only read");
  return host_.replaceFile(path, bytes);
}

}  // namespace sources
