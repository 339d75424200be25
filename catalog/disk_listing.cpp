#include "catalog/disk_listing.h"

#include <cinttypes>

#include "base/text_format.h"
#include "platform/path_rules.h"

namespace catalog {

namespace {

// FNV-1a, 64 bits: the listing's text is long, its digest short.
class Digest {
 public:
  void add(const std::string& text) {
    for (const char c : text) {
      hash_ ^= static_cast<uint8_t>(c);
      hash_ *= 0x100000001b3ull;
    }
    hash_ ^= 0xff;  // ends each text, so that "ab","c" differs from "a","bc"
    hash_ *= 0x100000001b3ull;
  }
  void add(int64_t number) { add(std::to_string(number)); }
  std::string text() const { return base::formatText("%016" PRIx64, hash_); }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

void addEntries(const std::string& directory, platform::Disk& host, Digest& digest, bool descend) {
  for (const platform::DirectoryEntry& entry : host.list(directory + "*.*")) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = directory + entry.name;
    digest.add(entry.name);
    digest.add(int64_t{entry.directory} | int64_t{entry.hidden} << 1 | int64_t{entry.system} << 2);
    if (const std::optional<platform::FileFacts> facts = host.inspect(path)) {
      digest.add(facts->size);
      digest.add(facts->modified);
    }
    if (entry.directory && descend) {
      addEntries(path + platform::kPathSeparator, host, digest, false);
    }
  }
}

}  // namespace

std::string diskListing(const walk::WalkSettings& settings, platform::Disk& host) {
  Digest digest;
  digest.add(base::formatText("%d %d %d ", settings.planeMode, settings.triggerStream,
                              settings.streamLetter) +
             settings.fileExtension);
  const std::optional<platform::FileFacts> facts = host.inspect(settings.archiveDisk);
  if (facts && facts->regular) {  // an image
    digest.add(facts->size);
    digest.add(facts->modified);
  } else if (const std::optional<std::string> root = platform::diskRoot(settings.archiveDisk)) {
    addEntries(*root, host, digest, true);
  }
  return digest.text();
}

}  // namespace catalog
