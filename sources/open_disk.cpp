#include <algorithm>

#include "platform/path_rules.h"
#include "sources/disk_image.h"
#include "sources/folder_reader.h"
#include "sources/open_image.h"
#include "sources/tree_disk.h"

namespace sources {

base::Outcome<OpenedDisk> openDisk(const std::string& setting, platform::Disk& host,
                                   const base::KeepPolicy& policy) {
  OpenedDisk opened;
  opened.disk = &host;
  const std::optional<std::string> root = platform::diskRoot(setting);
  if (!root) return opened;
  // "x.iso/" names the image too, as it names a folder; a drive is its root.
  const std::string path = platform::withoutTrailingSeparators(*root);
  const base::Outcome<platform::FileFacts> facts = host.inspect(path);
  if (facts && facts->directory && policy.everyByte != nullptr) {
    ImageTree tree = readFolder(host, *root, policy);
    for (std::string directory : tree.unlistable) {
      if (platform::kPathSeparator != '/')
        std::replace(directory.begin(), directory.end(), '/', platform::kPathSeparator);
      opened.unreadableDirectories.push_back(*root + directory);
    }
    opened.owned =
        std::make_unique<TreeDisk>(*root, host.resolve(path).value_or(path), std::move(tree), host);
    opened.disk = opened.owned.get();
    return opened;
  }
  if (!facts || !facts->regular) return opened;
  return openImage(*root, path, host, policy);
}

}  // namespace sources
