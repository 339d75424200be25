#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/disk.h"
#include "platform/file_writes.h"
#include "platform/name_match.h"
#include "platform/path_rules.h"
#include "platform/volume_label.h"

namespace platform {
namespace {

// Flags of one entry as the archive walk sees them: a directory is what stat
// calls one (links followed); a name that begins with '.' is hidden; anything
// that is neither a regular file nor a directory (a FIFO, socket or device,
// which cannot be read as a data file) is a system entry. An entry stat cannot
// follow (a broken link, a link loop) is a plain file: it will fail to open.
// The entry's type from the listing spares the stat where it is plain already.
DirectoryEntry describe(const std::string& directory, const dirent& item) {
  DirectoryEntry entry;
  entry.name = item.d_name;
  entry.hidden = item.d_name[0] == '.';
  if (item.d_type == DT_REG) return entry;
  if (item.d_type == DT_DIR) {
    entry.directory = true;
    return entry;
  }
  struct stat info;
  entry.link = item.d_type == DT_LNK ||
               (item.d_type == DT_UNKNOWN &&
                ::lstat((directory + item.d_name).c_str(), &info) == 0 && S_ISLNK(info.st_mode));
  if (::stat((directory + item.d_name).c_str(), &info) == 0) {
    entry.directory = S_ISDIR(info.st_mode);
    entry.system = !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
  }
  return entry;
}

class PosixOpenFile : public OpenFile {
 public:
  PosixOpenFile(int handle, int64_t length, int64_t modified)
      : handle_(handle), length_(length), modified_(modified) {}
  ~PosixOpenFile() override { ::close(handle_); }
  PosixOpenFile(const PosixOpenFile&) = delete;
  PosixOpenFile& operator=(const PosixOpenFile&) = delete;

  int64_t length() const override { return length_; }
  int64_t modified() const override { return modified_; }

  base::Outcome<int64_t> readAt(int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0) return base::failure("a negative offset");
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got = ::pread(handle_, buffer + done, size - done,
                                  static_cast<off_t>(offset + static_cast<int64_t>(done)));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 && done == 0) return base::failure(std::strerror(errno));
      if (got < 0) return static_cast<int64_t>(done);
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return static_cast<int64_t>(done);
  }

 private:
  int handle_;
  int64_t length_;
  int64_t modified_;
};

class PosixDisk : public Disk {
 public:
  base::Outcome<std::vector<DirectoryEntry>> list(const std::string& pattern) override {
    const std::string directory = directoryPart(pattern);
    const std::string wildcard = pattern.substr(directory.size());

    std::vector<DirectoryEntry> entries;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
      if (errno == ENOENT) return entries;
      return base::failure(std::strerror(errno));
    }
    for (;;) {
      errno = 0;  // readdir tells its end from a failure only by errno
      const dirent* item = ::readdir(dir);
      if (item == nullptr) break;
      if (wildcardMatch(wildcard, item->d_name)) entries.push_back(describe(directory, *item));
    }
    const int failed = errno;
    ::closedir(dir);
    if (failed != 0) return base::failure(std::strerror(failed));
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
      return entryNameLess(a.name, b.name);
    });
    return entries;
  }

  base::Outcome<std::unique_ptr<OpenFile>> openForReading(const std::string& path) override {
    // O_NONBLOCK: opening a FIFO that slipped through must not hang the run.
    const int handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle == -1) return base::failure(std::strerror(errno));
    struct stat info;
    std::unique_ptr<OpenFile> file;
    if (::fstat(handle, &info) != 0) {
      file = std::make_unique<PosixOpenFile>(handle, -1, 0);
    } else {
      file = std::make_unique<PosixOpenFile>(handle, static_cast<int64_t>(info.st_size),
                                             static_cast<int64_t>(info.st_mtime));
    }
    return file;
  }

  base::Status appendToFile(const std::string& path, std::string_view bytes) override {
    return appendBytes(path, bytes);
  }

  base::Outcome<std::string> resolve(const std::string& path) override {
    if (std::optional<std::string> resolved = resolveFollowing(path, 0)) return *resolved;
    return base::failure("a directory on its way is missing, or a link loops");
  }

  base::Outcome<FileFacts> inspect(const std::string& path) override {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return base::failure(std::strerror(errno));
    FileFacts facts;
    facts.identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
    facts.links = static_cast<uint32_t>(info.st_nlink);
    facts.regular = S_ISREG(info.st_mode);
    facts.directory = S_ISDIR(info.st_mode);
    if (facts.regular) facts.size = static_cast<int64_t>(info.st_size);
    facts.modified = static_cast<int64_t>(info.st_mtime);
    return facts;
  }

  std::optional<std::string> volumeLabel(const std::string& folder) override {
    return mountedVolumeLabel(folder);
  }

  base::Status replaceFile(const std::string& path, std::string_view bytes) override {
    const base::Outcome<std::string> place = resolve(path);
    return replaceWhole(path, place ? *place : std::string(), bytes);
  }

 private:
  static std::optional<std::string> resolveFollowing(const std::string& path, int links) {
    if (links > 40) return std::nullopt;  // a loop
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string resolved(real);
      std::free(real);
      return resolved;
    }
    // The last part does not exist, or is a link that leads nowhere.
    const std::size_t slash = path.find_last_of('/');
    const std::string directory = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
      const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
      if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
      target.resize(static_cast<std::size_t>(length));
      return resolveFollowing(target.front() == '/' ? target : directory + target, links + 1);
    }
    char* real = ::realpath(directory.c_str(), nullptr);
    if (real == nullptr) return std::nullopt;
    std::string resolved(real);
    std::free(real);
    return (resolved == "/" ? resolved : resolved + "/") + name;
  }
};

}  // namespace

Disk& systemDisk() {
  static PosixDisk disk;
  return disk;
}

}  // namespace platform
