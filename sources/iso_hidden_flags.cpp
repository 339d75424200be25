#include "sources/iso_hidden_flags.h"

#include <algorithm>

#include "sources/iso9660.h"

namespace sources {
namespace {

using iso9660::kPrimaryDescriptor;
using iso9660::kSector;
// Volume descriptors are read from sector 16 up to the terminator, at most this many.
constexpr int64_t kMostDescriptors = 32;
constexpr std::size_t kRootRecord = 156;  // within a volume descriptor; 34 bytes
// Offsets within a directory record.
constexpr std::size_t kExtent = 2, kDataLength = 10, kFlags = 25, kNameLength = 32, kName = 33;
constexpr uint8_t kHiddenFlag = 0x01, kDirectoryFlag = 0x02;

uint32_t littleEndian32(const std::string& record, std::size_t at) {
  return iso9660::littleEndian32(record.data() + at);
}

uint8_t byteAt(const std::string& bytes, std::size_t at) { return static_cast<uint8_t>(bytes[at]); }

// Where the system use area (Rock Ridge's entries) of a record begins.
std::size_t systemUseOf(const std::string& record) {
  const std::size_t nameLength = byteAt(record, kNameLength);
  return kName + nameLength + (nameLength % 2 == 0 ? 1 : 0);
}

// The Rock Ridge name (NM entries) of a record; empty when it has none.
std::string rockRidgeName(const std::string& record) {
  std::string name;
  for (std::size_t at = systemUseOf(record); at + 4 <= record.size();) {
    const std::size_t length = byteAt(record, at + 2);
    if (length < 4 || at + length > record.size()) break;
    if (record.compare(at, 2, "ST") == 0) break;
    if (record.compare(at, 2, "NM") == 0 && length >= 5 && (byteAt(record, at + 4) & 0x06) == 0) {
      name.append(record, at + 5, length - 5);
    }
    at += length;
  }
  return name;
}

// UTF-16BE as UTF-8; empty when it is not valid UTF-16 (libarchive cannot name
// such a file either).
std::string utf8FromUtf16(const std::string& text) {
  std::string utf8;
  for (std::size_t at = 0; at + 1 < text.size(); at += 2) {
    uint32_t code = static_cast<uint32_t>(byteAt(text, at) << 8 | byteAt(text, at + 1));
    if (code >= 0xDC00 && code <= 0xDFFF) return {};
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (at + 3 >= text.size()) return {};
      const uint32_t low = static_cast<uint32_t>(byteAt(text, at + 2) << 8 | byteAt(text, at + 3));
      if (low < 0xDC00 || low > 0xDFFF) return {};
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      at += 2;
    }
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | code >> 6);
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | code >> 12);
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | code >> 18);
      utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

}  // namespace

// The name libarchive gives a record of tree: its Rock Ridge name, else the
// recorded one without the version ";1" (and in the primary tree without a
// trailing dot).
std::string IsoHiddenFlags::nameOf(Tree tree, const std::string& record) const {
  const std::string recorded = record.substr(kName, byteAt(record, kNameLength));
  if (tree == kJoliet) {
    std::string name = recorded.substr(0, recorded.size() & ~std::size_t{1});
    if (name.size() > 4 && name.compare(name.size() - 4, 4, std::string("\0;\0001", 4)) == 0) {
      name.resize(name.size() - 4);
    }
    return utf8FromUtf16(name);
  }
  if (rockRidge_) {
    std::string name = rockRidgeName(record);
    if (!name.empty()) return name;
  }
  std::string name = recorded;
  if (name.size() > 2 && name.compare(name.size() - 2, 2, ";1") == 0) name.resize(name.size() - 2);
  if (name.size() > 1 && name.back() == '.') name.pop_back();
  return name;
}

void IsoHiddenFlags::dropJoliet() {
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->second.tree != kJoliet) {
      ++it;
      continue;
    }
    held_ -= static_cast<int64_t>(it->second.bytes.size());
    it = pending_.erase(it);
  }
}

void IsoHiddenFlags::expect(Tree tree, std::string path, const std::string& record) {
  if (tree == kJoliet && rockRidge_) return;
  const int64_t offset = int64_t{littleEndian32(record, kExtent)} * kSector;
  const int64_t size = littleEndian32(record, kDataLength);
  // Seen in the bytes before the image's reader sees them: a claim this large
  // stops the pass before the reader sets memory aside for it.
  if (size > kBudget) {
    overBudget_ = true;
    pending_.clear();
    return;
  }
  if (size > 0 && known_.insert(offset).second) {  // each directory once: no loops
    pending_[offset] = Directory{tree, std::move(path), size, {}};
  }
}

void IsoHiddenFlags::seeDescriptor(const char* sector) {
  const std::string descriptor(sector, kSector);
  if (descriptor.compare(1, 5, "CD001") != 0) return;
  const std::string root = descriptor.substr(kRootRecord, 34);
  if (descriptor[0] == 1) {
    expect(kPrimary, "", root);
  } else if (descriptor[0] == 2 && descriptor.compare(88, 2, "%/") == 0 &&
             (descriptor[90] == '@' || descriptor[90] == 'C' || descriptor[90] == 'E')) {
    jolietSeen_ = true;
    expect(kJoliet, "", root);
  }
}

void IsoHiddenFlags::see(int64_t offset, const char* data, std::size_t size) {
  if (overBudget_) return;
  const int64_t end = offset + static_cast<int64_t>(size);
  for (int64_t i = 0; i < kMostDescriptors; ++i) {
    const int64_t at = kPrimaryDescriptor + i * kSector;
    if (at >= offset && at + kSector <= end) seeDescriptor(data + (at - offset));
  }
  for (auto it = pending_.begin(); it != pending_.end() && it->first < end;) {
    const int64_t start = it->first;
    Directory& directory = it->second;
    const int64_t from = start + static_cast<int64_t>(directory.bytes.size());
    if (from < offset) {  // passed before it was known: it cannot be read now
      held_ -= static_cast<int64_t>(directory.bytes.size());
      it = pending_.erase(it);
      continue;
    }
    const int64_t to = std::min(start + directory.size, end);
    if (to > from) {
      if (held_ + (to - from) > kBudget) {
        overBudget_ = true;
        pending_.clear();
        return;
      }
      directory.bytes.append(data + (from - offset), static_cast<std::size_t>(to - from));
      held_ += to - from;
    }
    if (static_cast<int64_t>(directory.bytes.size()) < directory.size) {
      ++it;
      continue;
    }
    const Directory complete = std::move(directory);
    held_ -= complete.size;
    it = pending_.erase(it);
    readDirectory(complete);  // may add extents further on
    it = pending_.upper_bound(start);
  }
}

void IsoHiddenFlags::readDirectory(const Directory& directory) {
  const std::string& records = directory.bytes;
  for (std::size_t at = 0; at < records.size();) {
    const auto length = static_cast<uint8_t>(records[at]);
    if (length == 0) {  // the rest of this sector is empty
      at = (at / kSector + 1) * kSector;
      continue;
    }
    if (length < 34 || at + length > records.size()) return;  // damaged: libarchive tells
    const std::string record = records.substr(at, length);
    at += length;
    const std::size_t nameLength = byteAt(record, kNameLength);
    if (kName + nameLength > record.size()) return;
    if (nameLength == 1 && byteAt(record, kName) <= 1) {  // "." and ".."
      // Rock Ridge shows itself in the primary root's own record.
      if (directory.tree == kPrimary && directory.path.empty() && byteAt(record, kName) == 0) {
        const std::size_t su = systemUseOf(record);
        rockRidge_ = su + 6 <= record.size() && record.compare(su, 6, "SP\x07\x01\xBE\xEF") == 0;
        if (rockRidge_) dropJoliet();
      }
      continue;
    }
    const uint8_t flags = byteAt(record, kFlags);
    const std::string name = nameOf(directory.tree, record);
    if (flags & kDirectoryFlag) {
      expect(directory.tree, directory.path + name + "/", record);
      continue;
    }
    if ((flags & kHiddenFlag) == 0) continue;
    if (!name.empty()) hiddenPaths_[directory.tree].insert(directory.path + name);
    if (littleEndian32(record, kDataLength) > 0) {
      hiddenData_[directory.tree].insert(int64_t{littleEndian32(record, kExtent)} * kSector);
    }
  }
}

bool IsoHiddenFlags::hidden(const std::string& path, int64_t dataOffset, bool joliet) const {
  const Tree tree = !rockRidge_ && jolietSeen_ && joliet ? kJoliet : kPrimary;
  return hiddenPaths_[tree].count(path) != 0 ||
         (dataOffset >= 0 && hiddenData_[tree].count(dataOffset) != 0);
}

}  // namespace sources
