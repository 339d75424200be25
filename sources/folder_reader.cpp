#include "sources/folder_reader.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/path_rules.h"

namespace sources {
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

  // Reads every directory below the root, depth first in listing order,
  // each once however often it is met (a folder mounted inside itself).
  void readAll() {
    std::vector<std::pair<std::string, std::vector<platform::DirectoryEntry>>> pending;
    const auto enter = [&](const std::string& treePath) {
      tree.directories[treePath];
      const std::string directory = hostPath(treePath);
      const base::Outcome<platform::FileFacts> facts = host_.inspect(directory);
      if (facts && !entered_.insert({facts->identity.volume, facts->identity.index}).second) return;
      base::Outcome<std::vector<platform::DirectoryEntry>> listed = host_.list(directory + "*.*");
      if (!listed) tree.unlistable.insert(treePath);
      std::vector<platform::DirectoryEntry> entries =
          listed ? std::move(*listed) : std::vector<platform::DirectoryEntry>{};
      std::reverse(entries.begin(), entries.end());  // taken from the back
      pending.emplace_back(treePath, std::move(entries));
    };
    enter("");
    while (!pending.empty()) {
      auto& [treePath, entries] = pending.back();
      if (entries.empty()) {
        pending.pop_back();
        continue;
      }
      const platform::DirectoryEntry entry = std::move(entries.back());
      entries.pop_back();
      const std::string path = treePath + entry.name;
      if (entry.name == "." || entry.name == ".." || !admitted(treePath, entry)) continue;
      tree.directories[treePath].push_back(entry);
      if (entry.directory && !entry.link) {
        enter(path + "/");  // pending may grow: treePath and entries are not used after
      } else if (!entry.directory && !entry.system) {
        readFile(path);
      }
    }
  }

  ImageTree tree;

 private:
  // A link is read only where it leads inside the folder, to a file.
  bool admitted(const std::string& treePath, const platform::DirectoryEntry& entry) {
    if (!entry.link) return true;
    const std::string path = hostPath(treePath + entry.name);
    const base::Outcome<std::string> place = host_.resolve(path);
    const base::Outcome<platform::FileFacts> facts = host_.inspect(path);
    return place && platform::isInside(*place, resolvedRoot_) && facts && facts->regular;
  }

  std::string hostPath(const std::string& treePath) const {
    std::string path = root_ + treePath;
    if (platform::kPathSeparator != '/') std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  }

  void readFile(const std::string& treePath) {
    const base::Outcome<std::unique_ptr<platform::OpenFile>> opened =
        host_.openForReading(hostPath(treePath));
    if (!opened || (*opened)->length() < 0) {  // listed, but it cannot be read
      if (policy_.everyByte != nullptr) {
        policy_.everyByte->fileBegins(treePath, -1);
        policy_.everyByte->fileEnds();
      }
      return;
    }
    platform::OpenFile& source = **opened;
    auto file = std::make_shared<ImageFile>();
    file->length = source.length();
    file->dataStart = 0;
    file->modified = source.modified();
    if (policy_.everyByte != nullptr) policy_.everyByte->fileBegins(treePath, file->length);
    for (int64_t offset = 0; offset < file->length;) {
      const std::size_t wanted =
          static_cast<std::size_t>(std::min<int64_t>(file->length - offset, kFolderBlockSize));
      if (source.readWhole(offset, block_.data(), wanted)) {
        told(*file, offset, wanted);
        offset += static_cast<int64_t>(wanted);
        continue;
      }
      // Sector by sector, to pass over exactly what fails.
      for (std::size_t done = 0; done < wanted;) {
        const std::size_t size = std::min(kSectorSize, wanted - done);
        const int64_t at = offset + static_cast<int64_t>(done);
        if (source.readWhole(at, block_.data(), size)) {
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
  std::set<std::pair<uint64_t, uint64_t>> entered_;  // directories by identity
};

}  // namespace

ImageTree readFolder(platform::Disk& host, const std::string& root,
                     const base::KeepPolicy& policy) {
  FolderReader reader(host, root, policy);
  reader.readAll();
  finishListings(reader.tree);
  return std::move(reader.tree);
}

}  // namespace sources
