#include "sources/iso_image_reader.h"
#include "sources/open_image.h"
#include "sources/tree_disk.h"

namespace sources {

base::Outcome<OpenedDisk> openImage(const std::string& root, const std::string& path,
                                    platform::Disk& host, const base::KeepPolicy& policy) {
  OpenedDisk opened;
  opened.disk = &host;
  const base::Outcome<std::string> resolved = host.resolve(path);
  const base::Outcome<std::unique_ptr<platform::OpenFile>> opening = host.openForReading(path);
  std::vector<std::string> warnings;
  ImageRead read;
  if (!opening) {
    read.problem = "cannot be opened";
  } else {
    platform::OpenFile* const image = opening->get();
    read = readIsoImage(*image, true, policy);
    if (!read.problem && !read.unnamed.empty()) {
      // Joliet's names are the ones most often broken (lone UTF-16 surrogates,
      // a '/' in a name); the image's own tree names every file.
      ImageRead plain = readIsoImage(*image, false, policy);
      if (!plain.problem && plain.unnamed.empty()) {
        warnings.push_back("Joliet names cannot be read: " + read.unnamed.front() +
                           "; files are named as the image's ISO 9660 tree names them");
        read = std::move(plain);
      }
    }
  }
  for (const std::string& lost : read.unnamed) warnings.push_back(lost + ": not verified");
  base::Outcome<OpenedDisk> outcome = base::failure(read.problem.value_or(""));
  if (!read.problem) {
    opened.owned =
        std::make_unique<TreeDisk>(root, resolved.value_or(path), std::move(read.tree), host);
    opened.disk = opened.owned.get();
    outcome = std::move(opened);
  }
  outcome.warnings = std::move(warnings);
  return outcome;
}

}  // namespace sources
