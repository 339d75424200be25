#include "catalog/disk_identity.h"

#include <algorithm>

#include "platform/path_rules.h"

namespace catalog {

std::string pathBelowRoot(const std::string& path, const std::string& root) {
  std::string relative = path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
  std::replace(relative.begin(), relative.end(), platform::kPathSeparator, '/');
  return relative;
}

namespace {

bool sameHeader(const summary::FileRecord& a, const summary::FileRecord& b) {
  return a.station == b.station && a.frequency == b.frequency && a.latitude == b.latitude &&
         a.longitude == b.longitude && a.altitude == b.altitude && a.start == b.start &&
         a.end == b.end;
}

}  // namespace

DiskMatch matchOf(const CataloguedDisk& recorded, const std::string& recordedRoot,
                  const CataloguedDisk& read, const std::string& readRoot) {
  if (recorded.files.size() != read.files.size()) return DiskMatch::kOther;
  bool asItWas = true;
  for (std::size_t i = 0; i < read.files.size(); ++i) {
    const CataloguedFile& then = recorded.files[i];
    const CataloguedFile& now = read.files[i];
    if (pathBelowRoot(then.record.path, recordedRoot) != pathBelowRoot(now.record.path, readRoot)) {
      return DiskMatch::kOther;
    }
    if (then.size < 0 || now.size < 0) {  // a file that could not be opened has no size
      asItWas = asItWas && then.size == now.size;
      continue;
    }
    if (then.size != now.size) return DiskMatch::kOther;
    if (then.record.usable && now.record.usable) {
      if (then.stream != now.stream || !sameHeader(then.record, now.record))
        return DiskMatch::kOther;
    } else if (then.record.usable != now.record.usable) {
      asItWas = false;
    }
  }
  const bool bothFixity = !recorded.manifest.empty() && !read.manifest.empty();
  if (bothFixity && recorded.manifest != read.manifest) asItWas = false;
  return asItWas ? DiskMatch::kSame : DiskMatch::kReadsOtherwise;
}

}  // namespace catalog
