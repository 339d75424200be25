#include "catalog/disk_listing.h"

#include <cinttypes>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "platform/path_rules.h"

namespace catalog {

// FNV-1a, 64 bits: the listing's text is long, its digest short.
ListingDigest::ListingDigest(const walk::WalkSettings& settings) : hash_(0xcbf29ce484222325ull) {
  add(base::formatText("%d %d %d ", settings.planeMode, settings.triggerStream,
                       settings.streamLetter) +
      settings.fileExtension);
}

void ListingDigest::add(std::string_view text) {
  for (const char c : text) {
    hash_ ^= static_cast<uint8_t>(c);
    hash_ *= 0x100000001b3ull;
  }
  hash_ ^= 0xff;  // ends each text, so that "ab","c" differs from "a","bc"
  hash_ *= 0x100000001b3ull;
}

void ListingDigest::add(int64_t number) { add(std::to_string(number)); }

void ListingDigest::addDirectory(std::string_view name) {
  add("d");
  add(name);
}

void ListingDigest::addUnreadableDirectory(std::string_view path) {
  add("?");
  add(path);
}

void ListingDigest::addFile(std::string_view path, int64_t size, int64_t modified) {
  const std::size_t separator = path.find_last_of(platform::kPathSeparator);
  add(separator == std::string_view::npos ? path : path.substr(separator + 1));
  add(size);
  add(modified);
}

std::string ListingDigest::text() const { return base::formatText("%016" PRIx64, hash_); }

}  // namespace catalog
