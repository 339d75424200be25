// ISO 9660 images read with libarchive in one pass, front to back. Of each
// regular file only the bytes that verification reads are kept (its text header,
// binary block and last two bytes), so memory follows the number of files, not
// their size.

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "base/printable_name.h"
#include "image/disk_image.h"
#include "image/iso9660.h"
#include "image/iso_hidden_flags.h"
#include "platform/name_match.h"
#include "platform/path_rules.h"
#include "verify/data_file_bytes.h"

namespace image {
namespace {

// The image is read in blocks of this size: 16 times fewer reads than with
// 64 KiB blocks made an 816 MB image's pass 60 ms shorter.
constexpr std::size_t kReadBlock = 1024 * 1024;
using iso9660::kSector;
// Where the primary volume descriptor gives the volume's size in sectors.
constexpr int64_t kVolumeSizeOffset = iso9660::kPrimaryDescriptor + 80;

// A regular file of the image: its length and the bytes kept of it.
struct ImageFile {
  int64_t length = 0;
  int64_t dataStart = -1;  // where its data starts in the image; -1: it has none
  std::string leading;     // from offset 0 up to and including the first zero byte
  bool leadingDone = false;
  std::vector<std::pair<ByteRange, std::string>> kept;  // other ranges, as far as present
};

class ImageFileReader : public platform::OpenFile {
 public:
  explicit ImageFileReader(const ImageFile& file) : file_(file) {}
  int64_t length() const override { return file_.length; }
  int64_t readAt(int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0) return -1;
    if (offset >= file_.length) return 0;
    if (offset < static_cast<int64_t>(file_.leading.size())) {
      return copyFrom(file_.leading, offset, buffer, size);
    }
    for (const auto& [range, bytes] : file_.kept) {
      if (offset >= range.offset && offset < range.offset + static_cast<int64_t>(bytes.size())) {
        return copyFrom(bytes, offset - range.offset, buffer, size);
      }
    }
    return -1;  // bytes the image does not hold, or that verification never reads
  }

 private:
  static int64_t copyFrom(const std::string& bytes, int64_t at, char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, bytes.size() - static_cast<std::size_t>(at));
    std::memcpy(buffer, bytes.data() + at, count);
    return static_cast<int64_t>(count);
  }
  const ImageFile& file_;
};

// Hands libarchive the image's bytes in order, and lets the hidden-flag reader
// see each of them. Past the end of an image cut short it stands in zero bytes
// up to the volume's declared size, so that the pass still meets every file;
// whether a file's bytes were real is told by where its data ended (realEnd).
// Skips past the real end cost nothing, whatever size the volume claims.
class ImageStream {
 public:
  explicit ImageStream(const std::string& path)
      : file_(std::fopen(path.c_str(), "rb")), realEnd_(fileSize(path)), block_(kReadBlock) {}
  ~ImageStream() {
    if (file_ != nullptr) std::fclose(file_);
  }
  bool opened() const { return file_ != nullptr; }
  int64_t realEnd() const { return realEnd_; }
  bool paddedWhileReadingHeaders() const { return paddedInHeaders_; }
  const IsoHiddenFlags& hiddenFlags() const { return hiddenFlags_; }
  // Why the stream stopped the pass itself, if it did.
  const std::optional<std::string>& failure() const { return failure_; }
  void readingHeaders(bool on) { inHeaders_ = on; }

  static la_ssize_t read(archive*, void* self, const void** buffer) {
    return static_cast<ImageStream*>(self)->next(buffer);
  }
  static la_int64_t skip(archive*, void* self, la_int64_t request) {
    return static_cast<ImageStream*>(self)->skipAhead(request);
  }

 private:
  static int64_t fileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<int64_t>(size);
  }

  la_ssize_t next(const void** buffer) {
    *buffer = block_.data();
    if (position_ < realEnd_) {
      const std::size_t got = readReal(kReadBlock);
      if (failure_) return -1;
      if (got > 0) return static_cast<la_ssize_t>(got);
    }
    if (position_ >= volumeEnd_) return 0;
    const int64_t padding = std::min<int64_t>(kSector, volumeEnd_ - position_);
    std::memset(block_.data(), 0, static_cast<std::size_t>(padding));
    position_ += padding;
    if (inHeaders_) paddedInHeaders_ = true;
    return static_cast<la_ssize_t>(padding);
  }

  // Real bytes are read, so that the hidden-flag reader sees every one of
  // them; the padding past them is skipped at once.
  la_int64_t skipAhead(la_int64_t request) {
    if (position_ < realEnd_) {
      const std::size_t got =
          readReal(static_cast<std::size_t>(std::min<int64_t>(request, kReadBlock)));
      return failure_ ? -1 : static_cast<la_int64_t>(got);
    }
    const int64_t skipped =
        std::min<int64_t>(request, std::max<int64_t>(volumeEnd_ - position_, 0));
    position_ += skipped;
    return skipped;
  }

  // Reads up to wanted real bytes into the block; 0 when there are none.
  std::size_t readReal(std::size_t wanted) {
    wanted = static_cast<std::size_t>(
        std::min<int64_t>(static_cast<int64_t>(wanted), realEnd_ - position_));
    const std::size_t got = std::fread(block_.data(), 1, wanted, file_);
    noteVolumeSize(got);
    hiddenFlags_.see(position_, block_.data(), got);
    if (hiddenFlags_.overBudget()) {
      failure_ = "its directory records need more than " +
                 std::to_string(IsoHiddenFlags::kBudget >> 20) + " MiB";
    }
    position_ += static_cast<int64_t>(got);
    if (got == 0) realEnd_ = position_;  // the file shrank: the rest is missing
    return got;
  }

  // Takes the volume's size from the primary volume descriptor as it passes.
  void noteVolumeSize(std::size_t got) {
    const int64_t at = kVolumeSizeOffset - position_;
    if (at < 0 || at + 4 > static_cast<int64_t>(got)) return;
    volumeEnd_ = static_cast<int64_t>(iso9660::littleEndian32(block_.data() + at)) * kSector;
  }

  std::FILE* file_;
  int64_t realEnd_;
  int64_t volumeEnd_ = 0;  // nothing is padded before the volume's size is known
  int64_t position_ = 0;
  bool inHeaders_ = false;
  bool paddedInHeaders_ = false;
  std::optional<std::string> failure_;
  IsoHiddenFlags hiddenFlags_;
  std::vector<char> block_;
};

// The image's tree: directories by their path inside the image ("" for the
// root, else ending in '/'), files by their path.
struct ImageTree {
  std::map<std::string, std::vector<platform::DirectoryEntry>> directories;
  std::map<std::string, ImageFile> files;
};

// Keeps what verification reads of one block of a file's data at offset.
void keep(ImageFile& file, const char* data, std::size_t size, int64_t offset) {
  const int64_t end = offset + static_cast<int64_t>(size);
  if (!file.leadingDone && offset == static_cast<int64_t>(file.leading.size())) {
    const std::size_t room = platform::kMaxHeaderTextBytes - file.leading.size();
    const void* zero = std::memchr(data, '\0', std::min(size, room));
    const std::size_t taken =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) + 1
                        : std::min(size, room);
    file.leading.append(data, taken);
    if (zero != nullptr || file.leading.size() == platform::kMaxHeaderTextBytes) {
      file.leadingDone = true;
      for (const ByteRange& range :
           bytesVerificationReads(file.leading, file.length, platform::ProfileDialect::kPosix)) {
        file.kept.emplace_back(range, std::string());
      }
    }
  }
  for (auto& [range, bytes] : file.kept) {
    const int64_t from = std::max(range.offset + static_cast<int64_t>(bytes.size()), offset);
    const int64_t to = std::min(range.offset + range.size, end);
    if (from < to && from == range.offset + static_cast<int64_t>(bytes.size())) {
      bytes.append(data + (from - offset), static_cast<std::size_t>(to - from));
    }
  }
}

// Drops the bytes at and past missingFrom: the image did not hold them.
void forgetFrom(ImageFile& file, int64_t missingFrom) {
  if (static_cast<int64_t>(file.leading.size()) > missingFrom) {
    file.leading.resize(static_cast<std::size_t>(std::max<int64_t>(missingFrom, 0)));
  }
  for (auto& [range, bytes] : file.kept) {
    const int64_t present = std::max<int64_t>(missingFrom - range.offset, 0);
    if (static_cast<int64_t>(bytes.size()) > present)
      bytes.resize(static_cast<std::size_t>(present));
  }
}

platform::DirectoryEntry& addEntry(ImageTree& tree, const std::string& path, bool directory,
                                   bool regular) {
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (directory) tree.directories[path + "/"];
  return tree.directories[parent].emplace_back(
      platform::DirectoryEntry{name, name.front() == '.', !directory && !regular, directory});
}

// True when directory (a tree path ending in '/') is listed as a directory in
// its parent, and that one in its own, up to the root.
bool isListed(const ImageTree& tree, const std::string& directory) {
  if (directory.empty()) return true;
  const std::string path = directory.substr(0, directory.size() - 1);
  const std::size_t slash = path.rfind('/');
  const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = path.substr(parent.size());
  const auto found = tree.directories.find(parent);
  return found != tree.directories.end() &&
         std::any_of(
             found->second.begin(), found->second.end(),
             [&](const platform::DirectoryEntry& e) { return e.directory && e.name == name; }) &&
         isListed(tree, parent);
}

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

// One pass over the image.
struct ImageRead {
  ImageTree tree;
  std::optional<std::string> problem;  // why its tree cannot be read
  std::vector<std::string> unnamed;    // entries left out for want of a usable name
};

// Reads the whole image, its names taken from Joliet's tree where the image has
// one and no Rock Ridge names, unless joliet is false.
ImageRead readImage(const std::string& path, bool joliet) {
  ImageRead read;
  ImageTree& tree = read.tree;
  ImageStream stream(path);
  if (!stream.opened()) {
    read.problem = "cannot be opened";
    return read;
  }
  const Utf8NamesWhileAlive utf8Names;
  std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                archive_read_free);
  archive* a = reader.get();
  const auto fail = [&](std::optional<std::string> reason) {
    read.problem = stream.failure() ? stream.failure() : reason ? reason : errorOf(a);
    return std::move(read);
  };
  archive_read_support_format_iso9660(a);
  if (!joliet) archive_read_set_format_option(a, "iso9660", "joliet", nullptr);
  archive_read_set_callback_data(a, &stream);
  archive_read_set_read_callback(a, ImageStream::read);
  archive_read_set_skip_callback(a, ImageStream::skip);
  stream.readingHeaders(true);
  if (archive_read_open1(a) != ARCHIVE_OK) return fail(std::nullopt);
  tree.directories[""];
  archive_entry* entry = nullptr;
  for (;;) {
    stream.readingHeaders(true);
    const int status = archive_read_next_header(a, &entry);
    stream.readingHeaders(false);
    // The directory records are read while headers are: padding read then
    // stood for directory records the image does not hold.
    if (stream.paddedWhileReadingHeaders()) {
      return fail("the image ends before the end of its directory records");
    }
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
    ImageFile& file = tree.files[name];
    // A file that shares its data with one met before (a hard link, a shared
    // extent) is handed out without data: it has that file's bytes.
    if (const char* const link = archive_entry_hardlink(entry)) {
      const auto shared = tree.files.find(treePath(link));
      if (shared != tree.files.end() && shared->first != name) {
        file = shared->second;
        listed.hidden = listed.hidden || stream.hiddenFlags().hidden(name, file.dataStart, joliet);
        continue;
      }
    }
    file.length = archive_entry_size(entry);
    const void* data = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    int dataStatus;
    while ((dataStatus = archive_read_data_block(a, &data, &size, &offset)) == ARCHIVE_OK) {
      // A block is consumed at the next call: its place in the image is where
      // the stream stands now.
      const int64_t at = archive_filter_bytes(a, 0);
      if (offset == 0) file.dataStart = at;
      // Data past the image's real end is none: passed over at once.
      if (at >= stream.realEnd()) {
        dataStatus = archive_read_data_skip(a);
        break;
      }
      keep(file, static_cast<const char*>(data), size, offset);
    }
    if (dataStatus != ARCHIVE_EOF && dataStatus != ARCHIVE_OK) return fail(std::nullopt);
    listed.hidden = listed.hidden || stream.hiddenFlags().hidden(name, file.dataStart, joliet);
    // The data ended where the stream now stands; bytes past the real end were
    // padding.
    const int64_t missing = archive_filter_bytes(a, 0) - stream.realEnd();
    if (missing > 0) forgetFrom(file, file.length - missing);
  }
  // A name holding a '/' reads as a path through directories the image lacks.
  for (const auto& [directory, entries] : tree.directories) {
    if (!directory.empty() && !isListed(tree, directory)) {
      for (const platform::DirectoryEntry& lost : entries) {
        read.unnamed.push_back("the name " + printableName(directory + lost.name) +
                               " holds a '/' or leads through no directory of the image");
      }
    }
  }
  for (auto& [directory, entries] : tree.directories) {
    entries.insert(entries.begin(), {platform::DirectoryEntry{".", true, false, true},
                                     platform::DirectoryEntry{"..", true, false, true}});
    std::sort(entries.begin(), entries.end(),
              [](const platform::DirectoryEntry& x, const platform::DirectoryEntry& y) {
                return platform::entryNameLess(x.name, y.name);
              });
  }
  return read;
}

// The image's tree under root (the disk setting's root); every other path is
// the host's.
class ImageDisk : public platform::Disk {
 public:
  ImageDisk(std::string root, std::string resolvedImage, ImageTree tree, platform::Disk& host)
      : root_(std::move(root)),
        resolvedImage_(std::move(resolvedImage)),
        tree_(std::move(tree)),
        host_(host) {}

  std::vector<platform::DirectoryEntry> list(const std::string& pattern) override {
    const std::string directory = platform::directoryPart(pattern);
    if (!inImage(directory)) return host_.list(pattern);
    std::vector<platform::DirectoryEntry> matched;
    const auto found = tree_.directories.find(directory.substr(root_.size()));
    if (found == tree_.directories.end()) return matched;
    const std::string wildcard = pattern.substr(directory.size());
    for (const platform::DirectoryEntry& entry : found->second) {
      if (platform::wildcardMatch(wildcard, entry.name)) matched.push_back(entry);
    }
    return matched;
  }

  std::unique_ptr<platform::OpenFile> openForReading(const std::string& path) override {
    if (!inImage(path)) return host_.openForReading(path);
    const auto found = tree_.files.find(path.substr(root_.size()));
    if (found == tree_.files.end()) return nullptr;
    return std::make_unique<ImageFileReader>(found->second);
  }

  bool appendToFile(const std::string& path, std::string_view bytes) override {
    return !inImage(path) && host_.appendToFile(path, bytes);  // the image is only read
  }

  std::optional<std::string> resolve(const std::string& path) override {
    if (!inImage(path)) return host_.resolve(path);
    return resolvedImage_ + "/" + path.substr(root_.size());
  }

  // The image's own files have no identity on the host.
  std::optional<platform::FileFacts> inspect(const std::string& path) override {
    return inImage(path) ? std::nullopt : host_.inspect(path);
  }

  std::optional<std::string> replaceFile(const std::string& path, std::string_view bytes) override {
    if (inImage(path)) return std::string("it lies inside a disk image, which is only read");
    return host_.replaceFile(path, bytes);
  }

 private:
  bool inImage(const std::string& path) const { return path.compare(0, root_.size(), root_) == 0; }

  std::string root_;
  std::string resolvedImage_;
  ImageTree tree_;
  platform::Disk& host_;
};

}  // namespace

OpenedDisk openDisk(const std::string& setting, platform::Disk& host) {
  OpenedDisk opened;
  opened.disk = &host;
  const std::optional<std::string> root = platform::diskRoot(setting);
  if (!root) return opened;
  // "x.iso/" names the image too, as it names a folder.
  const std::string image = platform::withoutTrailingSeparators(setting);
  std::error_code error;
  if (!std::filesystem::is_regular_file(image, error)) return opened;
  const std::optional<std::string> resolved = host.resolve(image);
  ImageRead read = readImage(image, true);
  if (!read.problem && !read.unnamed.empty()) {
    // Joliet's names are the ones most often broken (lone UTF-16 surrogates,
    // a '/' in a name); the image's own tree names every file.
    ImageRead plain = readImage(image, false);
    if (!plain.problem && plain.unnamed.empty()) {
      opened.warnings.push_back("Joliet names cannot be read: " + read.unnamed.front() +
                                "; files are named as the image's ISO 9660 tree names them");
      read = std::move(plain);
    }
  }
  for (const std::string& lost : read.unnamed) opened.warnings.push_back(lost + ": not verified");
  opened.problem = std::move(read.problem);
  if (opened.problem) read.tree = ImageTree{};  // nothing is found on it
  opened.owned =
      std::make_unique<ImageDisk>(*root, resolved.value_or(image), std::move(read.tree), host);
  opened.disk = opened.owned.get();
  return opened;
}

}  // namespace image
