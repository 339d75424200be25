#include "summary/distinct_disks.h"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <string_view>
#include <tuple>

namespace summary {

namespace {

// The path below the disk's name, and whether it was below it.
std::pair<bool, std::string_view> pathBelow(const DiskRecord& disk, const FileRecord& file) {
  const std::string_view path = file.path;
  if (path.substr(0, disk.name.size()) != disk.name) return {false, path};
  return {true, path.substr(disk.name.size())};
}

auto fieldsOf(const FileRecord& file) {
  return std::tie(file.usable, file.station, file.start, file.end, file.latitude, file.longitude,
                  file.altitude, file.frequency, file.clockWarnings);
}

// Orders contents: by file count, then file by file.
int compareContent(const DiskRecord& a, const DiskRecord& b) {
  if (a.files.size() != b.files.size()) return a.files.size() < b.files.size() ? -1 : 1;
  for (std::size_t i = 0; i < a.files.size(); ++i) {
    const auto pathA = pathBelow(a, a.files[i]), pathB = pathBelow(b, b.files[i]);
    if (pathA != pathB) return pathA < pathB ? -1 : 1;
    const auto fieldsA = fieldsOf(a.files[i]), fieldsB = fieldsOf(b.files[i]);
    if (fieldsA != fieldsB) return fieldsA < fieldsB ? -1 : 1;
  }
  return 0;
}

uint64_t contentHash(const DiskRecord& disk) {
  uint64_t hash = disk.files.size();
  const auto mix = [&hash](uint64_t value) {
    hash ^= value + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
  };
  for (const FileRecord& file : disk.files) {
    mix(std::hash<std::string_view>()(pathBelow(disk, file).second));
    mix(std::hash<int64_t>()(file.start));
    mix(std::hash<int64_t>()(file.end));
  }
  return hash;
}

}  // namespace

bool sameContent(const DiskRecord& a, const DiskRecord& b) { return compareContent(a, b) == 0; }

DistinctDisks distinctDisks(std::vector<DiskRecord> disks) {
  DistinctDisks result;
  std::vector<uint64_t> hashes(disks.size());
  for (std::size_t i = 0; i < disks.size(); ++i) hashes[i] = contentHash(disks[i]);
  // By content (hash first, cheap), then name: each run of equal content keeps
  // its first disk, the one with the first name.
  std::vector<std::size_t> order(disks.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (hashes[a] != hashes[b]) return hashes[a] < hashes[b];
    if (const int content = compareContent(disks[a], disks[b]); content != 0) return content < 0;
    return std::tie(disks[a].name, a) < std::tie(disks[b].name, b);
  });
  std::vector<std::size_t> kept;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const std::size_t i = order[k];
    if (!kept.empty() && hashes[kept.back()] == hashes[i] &&
        sameContent(disks[kept.back()], disks[i])) {
      result.repeated.push_back(RepeatedDisk{i, kept.back()});
    } else {
      kept.push_back(i);
    }
  }
  std::sort(result.repeated.begin(), result.repeated.end(),
            [](const RepeatedDisk& a, const RepeatedDisk& b) { return a.copy < b.copy; });

  // The kept disks by name, then content: those of one name are numbered.
  std::sort(kept.begin(), kept.end(), [&](std::size_t a, std::size_t b) {
    if (disks[a].name != disks[b].name) return disks[a].name < disks[b].name;
    return compareContent(disks[a], disks[b]) < 0;
  });
  for (std::size_t k = 0; k < kept.size();) {
    std::size_t end = k + 1;
    while (end < kept.size() && disks[kept[end]].name == disks[kept[k]].name) ++end;
    if (end - k > 1) result.sharedNames.push_back(SharedName{disks[kept[k]].name, end - k});
    for (std::size_t n = k; n < end; ++n) {
      DiskRecord& disk = disks[kept[n]];
      if (end - k > 1) disk.name += " (" + std::to_string(n - k + 1) + ")";
      result.disks.push_back(std::move(disk));
    }
    k = end;
  }
  return result;
}

}  // namespace summary
