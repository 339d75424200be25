#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/file_writes.h"
#include "platform/path_rules.h"

namespace platform {

namespace {

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
base::Status writeSpecial(const std::string& path, std::string_view bytes) {
  // O_NONBLOCK only for the open: a FIFO without a reader fails at once.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd == -1) return base::failure(lastError());
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const bool written = writeAll(fd, bytes);
  std::optional<std::string> problem;
  if (!written) problem = lastError();
  if (::close(fd) != 0 && !problem) problem = lastError();
  if (problem) return base::failure(*problem);
  return {};
}

// The permissions a new file gets from open(2)'s 0666 and the process's umask.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

base::Status appendBytes(const std::string& path, std::string_view bytes) {
  // O_NONBLOCK: a FIFO without a reader fails at once instead of waiting for
  // one (and no write waits for a slow reader); O_NOCTTY: a terminal named as
  // a log never becomes the run's controlling terminal.
  constexpr int kFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::open(path.c_str(), kFlags);
  if (fd == -1) fd = ::open(path.c_str(), kFlags | O_CREAT, 0600);
  if (fd == -1) return base::failure(lastError());
  ssize_t written;
  do {
    written = ::write(fd, bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  ::close(fd);
  return {};
}

base::Status replaceWhole(const std::string& path, const std::string& place,
                          std::string_view bytes) {
  struct stat existing;
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return base::failure("it is a directory");
  if (exists && !S_ISREG(existing.st_mode)) return writeSpecial(path, bytes);
  if (place.empty()) return base::failure("a directory on its way is missing, or a link loops");
  // Past a file size limit a write then fails (EFBIG) instead of ending the
  // process with the new file half written.
  ::signal(SIGXFSZ, SIG_IGN);
  std::string temporary = directoryPart(place) + ".cdtmp.XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd == -1) return base::failure(lastError());
  const mode_t mode = exists ? existing.st_mode & 07777 : newFileMode();
  std::optional<std::string> problem;
  if (!writeAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) problem = lastError();
  if (::close(fd) != 0 && !problem) problem = lastError();
  if (!problem && ::rename(temporary.c_str(), place.c_str()) != 0) problem = lastError();
  if (!problem) return {};
  ::unlink(temporary.c_str());
  return base::failure(*problem);
}

}  // namespace platform
