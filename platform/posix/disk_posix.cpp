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

  int64_t readAt(int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0) return -1;
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got = ::pread(handle_, buffer + done, size - done,
                                  static_cast<off_t>(offset + static_cast<int64_t>(done)));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
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

// Writes all of bytes to fd, going on after interruptions; false on failure,
// with errno telling why.
bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string lastError() { return std::strerror(errno); }

// Writes bytes to a device, FIFO or other special file as it is.
std::optional<std::string> writeSpecial(const std::string& path, std::string_view bytes) {
  // O_NONBLOCK only for the open: a FIFO without a reader fails at once.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd == -1) return lastError();
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const bool written = writeAll(fd, bytes);
  std::optional<std::string> problem;
  if (!written) problem = lastError();
  if (::close(fd) != 0 && !problem) problem = lastError();
  return problem;
}

// The permissions a new file gets from open(2)'s 0666 and the process's umask.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

class PosixDisk : public Disk {
 public:
  std::optional<std::vector<DirectoryEntry>> list(const std::string& pattern) override {
    const std::string directory = directoryPart(pattern);
    const std::string wildcard = pattern.substr(directory.size());

    std::vector<DirectoryEntry> entries;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
      if (errno == ENOENT) return entries;
      return std::nullopt;
    }
    for (;;) {
      errno = 0;  // readdir tells its end from a failure only by errno
      const dirent* item = ::readdir(dir);
      if (item == nullptr) break;
      if (wildcardMatch(wildcard, item->d_name)) entries.push_back(describe(directory, *item));
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed) return std::nullopt;
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
      return entryNameLess(a.name, b.name);
    });
    return entries;
  }

  std::unique_ptr<OpenFile> openForReading(const std::string& path) override {
    // O_NONBLOCK: opening a FIFO that slipped through must not hang the run.
    const int handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle == -1) return nullptr;
    struct stat info;
    if (::fstat(handle, &info) != 0) return std::make_unique<PosixOpenFile>(handle, -1, 0);
    return std::make_unique<PosixOpenFile>(handle, static_cast<int64_t>(info.st_size),
                                           static_cast<int64_t>(info.st_mtime));
  }

  bool appendToFile(const std::string& path, std::string_view bytes) override {
    // O_NONBLOCK: a FIFO without a reader fails at once instead of waiting for
    // one (and no write waits for a slow reader); O_NOCTTY: a terminal named as
    // a log never becomes the run's controlling terminal.
    constexpr int kFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), kFlags);
    if (fd == -1) fd = ::open(path.c_str(), kFlags | O_CREAT, 0600);
    if (fd == -1) return false;
    ssize_t written;
    do {
      written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    ::close(fd);
    return true;
  }

  std::optional<std::string> resolve(const std::string& path) override {
    return resolveFollowing(path, 0);
  }

  std::optional<FileFacts> inspect(const std::string& path) override {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
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

  std::optional<std::string> replaceFile(const std::string& path, std::string_view bytes) override {
    struct stat existing;
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return std::string("it is a directory");
    if (exists && !S_ISREG(existing.st_mode)) return writeSpecial(path, bytes);
    const std::optional<std::string> place = resolve(path);
    if (!place) return std::string("a directory on its way is missing, or a link loops");
    // Past a file size limit a write then fails (EFBIG) instead of ending the
    // process with the new file half written.
    ::signal(SIGXFSZ, SIG_IGN);
    std::string temporary = directoryPart(*place) + ".cdtmp.XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd == -1) return lastError();
    const mode_t mode = exists ? existing.st_mode & 07777 : newFileMode();
    std::optional<std::string> problem;
    if (!writeAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) problem = lastError();
    if (::close(fd) != 0 && !problem) problem = lastError();
    if (!problem && ::rename(temporary.c_str(), place->c_str()) != 0) problem = lastError();
    if (problem) ::unlink(temporary.c_str());
    return problem;
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
