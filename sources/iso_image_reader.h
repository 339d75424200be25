#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/byte_range.h"
#include "platform/disk.h"
#include "sources/image_tree.h"

namespace sources {

// One pass over an ISO 9660 image.
struct ImageRead {
  ImageTree tree;
  std::optional<std::string> problem;  // why its tree cannot be read
  std::vector<std::string> unnamed;    // entries left out for want of a usable name
};

// Reads the whole image front to back, keeping of each regular file what
// policy names; names come from Joliet's tree where the image has one and no
// Rock Ridge names, unless joliet is false. A file sharing its data with one
// met before gets that file's bytes; a file whose bytes lie past the image's
// end keeps none of them; files marked hidden are listed hidden.
ImageRead readIsoImage(platform::OpenFile& image, bool joliet, const base::KeepPolicy& policy);

}  // namespace sources
