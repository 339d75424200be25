#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>

#include "platform/disk.h"

namespace platform {
namespace {

DirectoryEntry describe(const WIN32_FIND_DATAA& found) {
  DirectoryEntry entry;
  entry.name = found.cFileName;
  entry.hidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;        // 0x02
  entry.system = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;        // 0x04
  entry.directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;  // 0x10
  entry.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;   // 0x400
  return entry;
}

class Win32OpenFile : public OpenFile {
 public:
  Win32OpenFile(HANDLE handle, int64_t length) : handle_(handle), length_(length) {}
  ~Win32OpenFile() override { CloseHandle(handle_); }
  Win32OpenFile(const Win32OpenFile&) = delete;
  Win32OpenFile& operator=(const Win32OpenFile&) = delete;

  int64_t length() const override { return length_; }

  int64_t readAt(int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0) return -1;
    std::size_t done = 0;
    while (done < size) {
      const auto at = static_cast<uint64_t>(offset) + done;
      OVERLAPPED position{};
      position.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
      position.OffsetHigh = static_cast<DWORD>(at >> 32);
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(handle_, buffer + done, chunk, &got, &position)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return done > 0 ? static_cast<int64_t>(done) : -1;
      }
      if (got == 0) break;
      done += got;
    }
    return static_cast<int64_t>(done);
  }

 private:
  HANDLE handle_;
  int64_t length_;
};

// The platform's own enumeration, in its own order, with its own wildcards;
// data files read without restricting anyone else's access.
class Win32Disk : public Disk {
 public:
  std::vector<DirectoryEntry> list(const std::string& pattern) override {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
      entries.push_back(describe(found));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
  }

  std::unique_ptr<OpenFile> openForReading(const std::string& path) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size;
    const int64_t length = GetFileSizeEx(handle, &size) ? static_cast<int64_t>(size.QuadPart) : -1;
    return std::make_unique<Win32OpenFile>(handle, length);
  }

  bool appendToFile(const std::string& path, std::string_view bytes) override {
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

  // Windows data disks are CDs, which have no links: the full path is the place.
  std::optional<std::string> resolve(const std::string& path) override {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return std::nullopt;
    full.resize(length);
    return full;
  }
};

}  // namespace

Disk& systemDisk() {
  static Win32Disk disk;
  return disk;
}

}  // namespace platform
