#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_access.h"

namespace platform {

ReadOnlyFile::~ReadOnlyFile() { close(); }

bool ReadOnlyFile::open(const std::string& path) {
  close();
  // O_NONBLOCK: opening a FIFO that slipped through must not hang the run.
  handle_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  return handle_ != -1;
}

int64_t ReadOnlyFile::length() {
  struct stat info;
  if (handle_ == -1 || ::fstat(handle_, &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool ReadOnlyFile::seek(int64_t offset) {
  if (handle_ == -1 || offset < 0) return false;
  return ::lseek(handle_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

int64_t ReadOnlyFile::read(void* buffer, std::size_t size) {
  if (handle_ == -1) return -1;
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(handle_, static_cast<char*>(buffer) + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<int64_t>(done);
}

void ReadOnlyFile::close() {
  if (handle_ != -1) ::close(handle_);
  handle_ = -1;
}

bool appendToFile(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd == -1) fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd == -1) return false;
  ssize_t written;
  do {
    written = ::write(fd, bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  ::close(fd);
  return true;
}

}  // namespace platform
