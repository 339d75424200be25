#include "image/folder_reader.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/path_rules.h"

namespace image {
namespace {

class FolderReader {
 public:
  FolderReader(platform::Disk& host, const std::string& root, const base::KeepPolicy& policy)
      : host_(host),
        root_(root),
        resolvedRoot_(platform::withoutTrailingSeparators(host.resolve(root).value_or(root)) +
                      platform::kPathSeparator),
        policy_(policy),
        block_(kFolderBlockSize) {}

  // Reads the directory at treePath ("" for the root, else ending in '/').
  void readDirectory(const std::string& treePath) {
    tree.directories[treePath];
    const std::string directory = hostPath(treePath);
    for (platform::DirectoryEntry& entry : host_.list(directory + "*.*")) {
      if (entry.name == "." || entry.name == "..") continue;
      const std::string path = treePath + entry.name;
      if (entry.link) {
        const std::optional<std::string> place = host_.resolve(directory + entry.name);
        const std::optional<platform::FileFacts> facts = host_.inspect(directory + entry.name);
        if (!place || !platform::isInside(*place, resolvedRoot_) || !facts || !facts->regular)
          continue;
      }
      tree.directories[treePath].push_back(entry);
      if (entry.directory && !entry.link) {
        readDirectory(path + "/");
      } else if (!entry.directory && !entry.system) {
        readFile(path);
      }
    }
  }

  ImageTree tree;

 private:
  std::string hostPath(const std::string& treePath) const {
    std::string path = root_ + treePath;
    if (platform::kPathSeparator != '/') std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  }

  void readFile(const std::string& treePath) {
    const std::unique_ptr<platform::OpenFile> opened = host_.openForReading(hostPath(treePath));
    if (opened == nullptr || opened->length() < 0) {  // listed, but it cannot be read
      if (policy_.everyByte != nullptr) {
        policy_.everyByte->fileBegins(treePath, -1);
        policy_.everyByte->fileEnds();
      }
      return;
    }
    auto file = std::make_shared<ImageFile>();
    file->length = opened->length();
    file->dataStart = 0;
    file->modified = opened->modified();
    if (policy_.everyByte != nullptr) policy_.everyByte->fileBegins(treePath, file->length);
    for (int64_t offset = 0; offset < file->length;) {
      const std::size_t wanted =
          static_cast<std::size_t>(std::min<int64_t>(file->length - offset, kFolderBlockSize));
      if (opened->readAt(offset, block_.data(), wanted) == static_cast<int64_t>(wanted)) {
        told(*file, offset, wanted);
        offset += static_cast<int64_t>(wanted);
        continue;
      }
      // Sector by sector, to pass over exactly what fails.
      for (std::size_t done = 0; done < wanted;) {
        const std::size_t size = std::min(kSectorSize, wanted - done);
        const int64_t at = offset + static_cast<int64_t>(done);
        if (opened->readAt(at, block_.data(), size) == static_cast<int64_t>(size)) {
          told(*file, at, size);
        } else {
          if (policy_.everyByte != nullptr)
            policy_.everyByte->fileUnreadable({at, static_cast<int64_t>(size)});
        }
        done += size;
      }
      offset += static_cast<int64_t>(wanted);
    }
    if (policy_.everyByte != nullptr) policy_.everyByte->fileEnds();
    tree.files[treePath] = std::move(file);
  }

  // The size bytes at offset in the block were read. What is kept grows only
  // by bytes that follow on: nothing is kept across bytes passed over.
  void told(ImageFile& file, int64_t offset, std::size_t size) {
    keepBytes(file, block_.data(), size, offset, policy_);
    if (policy_.everyByte != nullptr)
      policy_.everyByte->fileBytes(std::string_view(block_.data(), size));
  }

  platform::Disk& host_;
  const std::string root_;
  const std::string resolvedRoot_;
  const base::KeepPolicy& policy_;
  std::vector<char> block_;
};

}  // namespace

ImageTree readFolder(platform::Disk& host, const std::string& root,
                     const base::KeepPolicy& policy) {
  FolderReader reader(host, root, policy);
  reader.readDirectory("");
  finishListings(reader.tree);
  return std::move(reader.tree);
}

}  // namespace image
