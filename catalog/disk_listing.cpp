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

void ListingDigest::addImage(int64_t size, int64_t modified) {
  add("i");
  add(size);
  add(modified);
}

std::string ListingDigest::text() const { return base::formatText("%016" PRIx64, hash_); }

namespace {

// Lists the walk's selection with the host's facts of each file.
class ListedSelection : public walk::WalkSelection {
 public:
  ListedSelection(const walk::WalkSettings& settings, platform::Disk& host)
      : digest(settings), host_(host) {}
  void directoryEntered(const std::string& name) override {
    digest.addDirectory(base::printableName(name));
  }
  void directoryUnreadable(const std::string& path) override {
    digest.addUnreadableDirectory(base::printableName(path));
  }
  void filesSelected(std::string_view, const std::vector<std::string>& paths) override {
    for (const std::string& path : paths) {
      const std::optional<platform::FileFacts> facts = host_.inspect(path);
      digest.addFile(base::printableName(path), facts ? facts->size : -1,
                     facts ? facts->modified : 0);
    }
  }

  ListingDigest digest;

 private:
  platform::Disk& host_;
};

// The facts of the image file settings.archiveDisk names ("x.iso/" too, as
// image::openDisk reads it); nothing for a folder or a drive.
std::optional<platform::FileFacts> imageFacts(const walk::WalkSettings& settings,
                                              platform::Disk& host) {
  std::optional<platform::FileFacts> facts =
      host.inspect(platform::withoutTrailingSeparators(settings.archiveDisk));
  if (facts && !facts->regular) facts.reset();
  return facts;
}

}  // namespace

bool isImageDisk(const walk::WalkSettings& settings, platform::Disk& host) {
  return imageFacts(settings, host).has_value();
}

std::string diskListing(const walk::WalkSettings& settings, platform::Disk& host) {
  if (const std::optional<platform::FileFacts> facts = imageFacts(settings, host)) {
    ListingDigest digest(settings);
    digest.addImage(facts->size, facts->modified);
    return digest.text();
  }
  ListedSelection selection(settings, host);
  walk::selectArchiveFiles(settings, host, selection);
  return selection.digest.text();
}

}  // namespace catalog
