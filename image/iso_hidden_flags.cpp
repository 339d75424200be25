#include "image/iso_hidden_flags.h"

#include <algorithm>

#include "image/iso9660.h"

namespace image {
namespace {

using iso9660::kPrimaryDescriptor;
using iso9660::kSector;
constexpr int64_t kRootRecord = kPrimaryDescriptor + 156;  // 34 bytes
// Offsets within a directory record.
constexpr std::size_t kExtent = 2, kDataLength = 10, kFlags = 25, kNameLength = 32;
constexpr uint8_t kHiddenFlag = 0x01, kDirectoryFlag = 0x02;

uint32_t littleEndian32(const std::string& record, std::size_t at) {
  return iso9660::littleEndian32(record.data() + at);
}

}  // namespace

void IsoHiddenFlags::expect(int64_t offset, int64_t size) {
  if (size > 0 && sizes_.count(offset) == 0) {  // each directory once: no loops
    sizes_[offset] = size;
    pending_[offset];
  }
}

void IsoHiddenFlags::see(int64_t offset, const char* data, std::size_t size) {
  if (overBudget_) return;
  const int64_t end = offset + static_cast<int64_t>(size);
  if (offset <= kPrimaryDescriptor && kRootRecord + 34 <= end &&
      std::string(data + (kPrimaryDescriptor - offset), 6) ==
          "\x01"
          "CD001") {
    const std::string root(data + (kRootRecord - offset), 34);
    expect(int64_t{littleEndian32(root, kExtent)} * kSector, littleEndian32(root, kDataLength));
  }
  for (auto it = pending_.begin(); it != pending_.end() && it->first < end;) {
    const int64_t start = it->first, want = sizes_[start];
    std::string& bytes = it->second;
    const int64_t from = start + static_cast<int64_t>(bytes.size());
    if (from < offset) {  // passed before it was known: it cannot be read now
      held_ -= static_cast<int64_t>(bytes.size());
      it = pending_.erase(it);
      continue;
    }
    const int64_t to = std::min(start + want, end);
    if (to > from) {
      if (held_ + (to - from) > kBudget) {
        overBudget_ = true;
        pending_.clear();
        return;
      }
      bytes.append(data + (from - offset), static_cast<std::size_t>(to - from));
      held_ += to - from;
    }
    if (static_cast<int64_t>(bytes.size()) < want) {
      ++it;
      continue;
    }
    const std::string records = std::move(bytes);
    held_ -= want;
    it = pending_.erase(it);
    readDirectory(records);  // may add extents further on
    it = pending_.upper_bound(start);
  }
}

void IsoHiddenFlags::readDirectory(const std::string& records) {
  for (std::size_t at = 0; at < records.size();) {
    const auto length = static_cast<uint8_t>(records[at]);
    if (length == 0) {  // the rest of this sector is empty
      at = (at / kSector + 1) * kSector;
      continue;
    }
    if (length < 34 || at + length > records.size()) return;  // damaged: libarchive tells
    const std::string record = records.substr(at, length);
    at += length;
    const auto nameLength = static_cast<uint8_t>(record[kNameLength]);
    if (nameLength == 1 && static_cast<uint8_t>(record[33]) <= 1) continue;  // "." and ".."
    const auto flags = static_cast<uint8_t>(record[kFlags]);
    const int64_t extent = int64_t{littleEndian32(record, kExtent)} * kSector;
    if (flags & kDirectoryFlag) {
      expect(extent, littleEndian32(record, kDataLength));
    } else if (flags & kHiddenFlag) {
      hidden_.insert(extent);
    }
  }
}

}  // namespace image
