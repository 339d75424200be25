#include "catalog/disk_identity.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "base/ascii_case.h"
#include "base/printable_name.h"
#include "platform/path_rules.h"

namespace catalog {

const char* streamName(DiskStream stream) {
  return stream == DiskStream::kTrigger ? "trigger" : "permanent";
}

DiskStream streamNamed(std::string_view name) {
  return name == "trigger" ? DiskStream::kTrigger : DiskStream::kPermanent;
}

DiskStream streamOf(const walk::WalkSettings& walk) {
  return walk.triggerStream != 0 ? DiskStream::kTrigger : DiskStream::kPermanent;
}

namespace {

constexpr const char* kLabelSourceNames[] = {"", "given", "image", "volume", "folder"};

}  // namespace

const char* labelSourceName(LabelSource source) {
  return kLabelSourceNames[static_cast<std::size_t>(source)];
}

LabelSource labelSourceOf(const std::string& name) {
  for (std::size_t i = 0; i < std::size(kLabelSourceNames); ++i) {
    if (name == kLabelSourceNames[i]) return static_cast<LabelSource>(i);
  }
  return LabelSource::kUnknown;
}

std::string diskRootOf(const std::string& source) {
  return base::printableName(
      platform::diskRoot(platform::diskSettingOf(source)).value_or(std::string()));
}

std::string recordedRootOf(const std::string& source, const std::vector<CataloguedFile>& files) {
  const std::string here = diskRootOf(source);
  if (files.empty() || source.empty()) return here;
  const std::string& path = files.front().record.path;
  const auto drive = [](const std::string& s) {
    return base::isAsciiLetter(s[0]) &&
           (s.size() == 1 || s.substr(1) == ":" || s.substr(1) == ":\\");
  };
  const char last = source.back();
  const std::string posix = last == '/' ? source : source + '/';
  const std::string windows = drive(source)                 ? source.substr(0, 1) + ":\\"
                              : last == '\\' || last == '/' ? source
                                                            : source + '\\';
  for (const std::string& root : {here, base::printableName(posix), base::printableName(windows)})
    if (path.compare(0, root.size(), root) == 0) return root;
  return here;
}

void linkCopies(std::vector<DiskEntry>& disks) {
  // The first added of each content and stream is the one the others copy.
  std::map<std::pair<std::string, DiskStream>, const DiskEntry*> first;
  for (const DiskEntry& disk : disks) {
    if (disk.content.empty()) continue;
    const DiskEntry*& known = first[{disk.content, disk.stream}];
    if (known == nullptr || std::tie(disk.added, disk.label) < std::tie(known->added, known->label))
      known = &disk;
  }
  std::vector<std::optional<std::string>> copyOf;
  for (const DiskEntry& disk : disks) {
    const DiskEntry* original =
        disk.content.empty() ? nullptr : first.at({disk.content, disk.stream});
    copyOf.push_back(original == nullptr || original == &disk
                         ? std::nullopt
                         : std::optional<std::string>(original->label));
  }
  for (std::size_t i = 0; i < disks.size(); ++i) disks[i].copyOf = std::move(copyOf[i]);
}

void linkCopies(std::vector<CataloguedDisk>& disks) {
  std::vector<DiskEntry> entries;
  for (const CataloguedDisk& disk : disks) entries.push_back(disk.entry);
  linkCopies(entries);
  for (std::size_t i = 0; i < disks.size(); ++i) disks[i].entry.copyOf = entries[i].copyOf;
}

std::vector<DiskEntry> orderedWithCopies(std::vector<DiskEntry> disks) {
  linkCopies(disks);
  const auto key = [](const DiskEntry& disk) {
    return std::make_tuple(disk.copyOf.value_or(disk.label), disk.stream, disk.copyOf.has_value(),
                           disk.label);
  };
  std::stable_sort(disks.begin(), disks.end(),
                   [&](const DiskEntry& a, const DiskEntry& b) { return key(a) < key(b); });
  return disks;
}

std::string pathBelowRoot(const std::string& path, const std::string& root) {
  std::string relative = path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
  const bool windows =
      !root.empty() && (root.back() == '\\' || (root.size() == 3 && root.substr(1) == ":/"));
  if (windows) std::replace(relative.begin(), relative.end(), '\\', '/');
  return relative;
}

namespace {

bool sameHeader(const survey::FileRecord& a, const survey::FileRecord& b) {
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
