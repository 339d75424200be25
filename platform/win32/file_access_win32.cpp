#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/file_access.h"

namespace platform {

ReadOnlyFile::~ReadOnlyFile() { close(); }

bool ReadOnlyFile::open(const std::string& path) {
  close();
  if (_sopen_s(&handle_, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0) handle_ = -1;
  return handle_ != -1;
}

int64_t ReadOnlyFile::length() {
  if (handle_ == -1) return -1;
  return _filelengthi64(handle_);
}

bool ReadOnlyFile::seek(int64_t offset) {
  if (handle_ == -1 || offset < 0) return false;
  return _lseeki64(handle_, offset, SEEK_SET) == offset;
}

int64_t ReadOnlyFile::read(void* buffer, std::size_t size) {
  if (handle_ == -1) return -1;
  std::size_t done = 0;
  while (done < size) {
    const std::size_t chunk = std::min<std::size_t>(size - done, 1u << 30);
    const int got = _read(handle_, static_cast<char*>(buffer) + done, static_cast<unsigned>(chunk));
    if (got < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<int64_t>(done);
}

void ReadOnlyFile::close() {
  if (handle_ != -1) _close(handle_);
  handle_ = -1;
}

bool appendToFile(const std::string& path, std::string_view bytes) {
  int fd = -1;
  if (_sopen_s(&fd, path.c_str(), _O_WRONLY | _O_APPEND | _O_BINARY, _SH_DENYNO, 0) != 0) {
    if (_sopen_s(&fd, path.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _SH_DENYNO,
                 _S_IREAD | _S_IWRITE) != 0) {
      return false;
    }
  }
  _write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
  _close(fd);
  return true;
}

}  // namespace platform
