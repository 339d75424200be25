#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disk.h"
#include "sources/image_tree.h"

namespace sources {

// A disk read before into a tree (an image's), found under root (the disk
// setting's root, ending in the path separator); every other path is the
// host's. Nothing under root is ever written. A file of the tree reads its kept
// bytes; any other read of it fails.
class TreeDisk : public platform::Disk {
 public:
  // resolvedImage: where the image file lies on the host, which resolve()
  // gives for root.
  TreeDisk(std::string root, std::string resolvedImage, ImageTree tree, platform::Disk& host);

  base::Outcome<std::vector<platform::DirectoryEntry>> list(const std::string& pattern) override;
  base::Outcome<std::unique_ptr<platform::OpenFile>> openForReading(
      const std::string& path) override;
  base::Status appendToFile(const std::string& path, std::string_view bytes) override;
  base::Outcome<std::string> resolve(const std::string& path) override;
  // The tree's own files have no identity on the host.
  base::Outcome<platform::FileFacts> inspect(const std::string& path) override;
  base::Status replaceFile(const std::string& path, std::string_view bytes) override;
  // The host's: a folder read whole keeps the label of its volume, and an
  // image file is no mount point.
  std::optional<std::string> volumeLabel(const std::string& folder) override;

 private:
  bool inTree(const std::string& path) const;
  // path (in the tree) below the root, '/' between its parts, as the tree names it.
  std::string treePathOf(const std::string& path) const;

  std::string root_;
  std::string resolvedImage_;
  ImageTree tree_;
  platform::Disk& host_;
};

}  // namespace sources
