// ISO 9660 images read with libarchive in one pass, front to back, keeping of
// each regular file only what the caller's policy names, so memory follows the
// number of files, not their size.

#include "sources/iso_image_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <clocale>
#include <cstring>

#include "base/printable_name.h"
#include "sources/iso_stream.h"
#include "sources/libarchive_on_demand.h"

namespace sources {
namespace {

// libarchive's message for its last error, which it may not have.
std::string errorOf(archive* a) {
  const char* const message = archive_error_string(a);
  return message != nullptr ? message : "unreadable (libarchive gives no reason)";
}

// Joliet names are UTF-16, and libarchive hands them out in the locale's
// encoding; the C locale of a program that never sets one has nothing past
// ASCII, and such names would be lost. While an image is read, the character
// type is UTF-8, as Linux shows the names of a mounted CD.
class Utf8NamesWhileAlive {
 public:
  Utf8NamesWhileAlive() {
    const char* const current = std::setlocale(LC_CTYPE, nullptr);
    saved_ = current != nullptr ? current : "C";
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
  ~Utf8NamesWhileAlive() { std::setlocale(LC_CTYPE, saved_.c_str()); }
  Utf8NamesWhileAlive(const Utf8NamesWhileAlive&) = delete;
  Utf8NamesWhileAlive& operator=(const Utf8NamesWhileAlive&) = delete;

 private:
  std::string saved_;
};

// The path of an entry's name as the tree keys it: without a leading "./";
// empty for the root itself.
std::string treePath(const char* name) {
  std::string path = name;
  if (path.size() > 2 && path.compare(0, 2, "./") == 0) path.erase(0, 2);
  if (path == ".") path.clear();
  return path;
}

// Reads the data of entry, the regular file just met and named name in the
// tree, keeping what policy names (and telling policy.everyByte of every
// byte); null when libarchive fails.
std::shared_ptr<const ImageFile> readFileData(archive* a, archive_entry* entry,
                                              const std::string& name, const IsoStream& stream,
                                              const base::KeepPolicy& policy) {
  const auto file = std::make_shared<ImageFile>();
  file->length = archive_entry_size(entry);
  if (policy.everyByte != nullptr) policy.everyByte->fileBegins(name, file->length);
  const void* data = nullptr;
  std::size_t size = 0;
  la_int64_t offset = 0;
  int64_t read = 0;  // how many of its bytes were read: they lead it
  int status;
  while ((status = archive_read_data_block(a, &data, &size, &offset)) == ARCHIVE_OK) {
    // A block is consumed at the next call: its place in the image is where
    // the stream stands now.
    const int64_t at = archive_filter_bytes(a, 0);
    if (offset == 0) file->dataStart = at;
    // Data past the image's real end is none, and so is a block that does not
    // follow on from those read: the rest of the file is passed over at once,
    // and unread. (libarchive skips it only when the next entry is asked for:
    // where the stream stands then says nothing of this file.)
    const int64_t real =
        offset == read ? std::clamp<int64_t>(stream.realEnd() - at, 0, static_cast<int64_t>(size))
                       : 0;
    if (real > 0) {
      keepBytes(*file, static_cast<const char*>(data), static_cast<std::size_t>(real), offset,
                policy);
      if (policy.everyByte != nullptr) {
        policy.everyByte->fileBytes(
            std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(real)));
      }
      read += real;
    }
    if (real < static_cast<int64_t>(size)) {
      status = archive_read_data_skip(a);
      break;
    }
  }
  const bool failed = status != ARCHIVE_EOF && status != ARCHIVE_OK;
  const int64_t missing = failed ? 0 : std::max<int64_t>(file->length - read, 0);
  // The bytes it was not given, in order: sectors of its data that could not
  // be read, and those past the image's real end. Not kept, and told.
  std::vector<base::ByteRange> unreadable;
  for (const base::ByteRange& sectors : stream.unreadable()) {
    const int64_t from = std::max<int64_t>(sectors.offset - file->dataStart, 0);
    const int64_t to = std::min(sectors.offset + sectors.size - file->dataStart, file->length);
    if (file->dataStart >= 0 && from < to) unreadable.push_back({from, to - from});
  }
  if (missing > 0) unreadable.push_back({file->length - missing, missing});
  for (const base::ByteRange& range : unreadable) forgetRange(*file, range);
  if (policy.everyByte != nullptr) {
    for (const base::ByteRange& range : unreadable) policy.everyByte->fileUnreadable(range);
    policy.everyByte->fileEnds();
  }
  return failed ? nullptr : file;
}

// libarchive's callbacks on an IsoStream.
la_ssize_t readBlock(archive*, void* stream, const void** buffer) {
  return static_cast<la_ssize_t>(static_cast<IsoStream*>(stream)->next(buffer));
}
la_int64_t skipBytes(archive*, void* stream, la_int64_t request) {
  return static_cast<IsoStream*>(stream)->skipAhead(request);
}

// The data of the regular file entry, named name in the tree: that of a file
// met before when it shares it (a hard link, a shared extent: libarchive hands
// it out without data), else read now; null when libarchive fails.
std::shared_ptr<const ImageFile> dataOf(archive* a, archive_entry* entry, const std::string& name,
                                        const ImageTree& tree, const IsoStream& stream,
                                        const base::KeepPolicy& policy) {
  const char* const link = archive_entry_hardlink(entry);
  const auto shared = link != nullptr ? tree.files.find(treePath(link)) : tree.files.end();
  if (shared != tree.files.end() && shared->first != name) {
    if (policy.everyByte != nullptr) policy.everyByte->fileSameAs(name, shared->first);
    return shared->second;
  }
  return readFileData(a, entry, name, stream, policy);
}

// A name holding a '/' reads as a path through directories the image lacks:
// each such entry is told in problems.
void addNamesLeadingNowhere(const ImageTree& tree, std::vector<std::string>& problems) {
  for (const auto& [directory, entries] : tree.directories) {
    if (directory.empty() || isListed(tree, directory)) continue;
    for (const platform::DirectoryEntry& lost : entries) {
      problems.push_back("the name " + base::printableName(directory + lost.name) +
                         " holds a '/' or leads through no directory of the image");
    }
  }
}

}  // namespace

ImageRead readIsoImage(platform::OpenFile& image, bool joliet, const base::KeepPolicy& policy) {
  ImageRead read;
  if (const base::Status loaded = loadLibarchive(); !loaded) {
    read.problem = loaded.problem();
    return read;
  }
  ImageTree& tree = read.tree;
  IsoStream stream(image);
  const Utf8NamesWhileAlive utf8Names;
  std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                archive_read_free);
  archive* a = reader.get();
  const auto fail = [&](std::optional<std::string> reason) {
    // Directory records are read while headers are (the open included): the
    // image ending then means some of them are not in it.
    if (stream.headersCutShort()) reason = "the image ends before the end of its directory records";
    read.problem = stream.failure() ? stream.failure() : reason ? reason : errorOf(a);
    return std::move(read);
  };
  archive_read_support_format_iso9660(a);
  if (!joliet) archive_read_set_format_option(a, "iso9660", "joliet", nullptr);
  archive_read_set_callback_data(a, &stream);
  archive_read_set_read_callback(a, readBlock);
  archive_read_set_skip_callback(a, skipBytes);
  stream.readingHeaders(true);
  if (archive_read_open1(a) != ARCHIVE_OK) return fail(std::nullopt);
  tree.directories[""];
  archive_entry* entry = nullptr;
  for (;;) {
    stream.readingHeaders(true);
    const int status = archive_read_next_header(a, &entry);
    stream.readingHeaders(false);
    if (stream.headersCutShort()) return fail(std::nullopt);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN || stream.failure()) return fail(std::nullopt);
    const auto type = archive_entry_filetype(entry);
    const char* const given = archive_entry_pathname(entry);
    const char* const utf8 = given != nullptr ? given : archive_entry_pathname_utf8(entry);
    if (utf8 == nullptr) {
      read.unnamed.push_back(std::string(type == AE_IFDIR ? "a directory's" : "a file's") +
                             " name cannot be read (" + errorOf(a) + ")");
      continue;
    }
    const std::string name = treePath(utf8);
    if (name.empty() || name.back() == '/') continue;
    platform::DirectoryEntry& listed = addEntry(tree, name, type == AE_IFDIR, type == AE_IFREG);
    if (type != AE_IFREG) continue;
    const std::shared_ptr<const ImageFile> file = dataOf(a, entry, name, tree, stream, policy);
    if (!file) return fail(std::nullopt);
    tree.files[name] = file;
    listed.hidden = listed.hidden || stream.hiddenFlags().hidden(name, file->dataStart, joliet);
  }
  addNamesLeadingNowhere(tree, read.unnamed);
  finishListings(tree);
  return read;
}

}  // namespace sources
