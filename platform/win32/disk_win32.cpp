#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/disk.h"
#include "platform/file_writes.h"
#include "platform/volume_label.h"
#include "platform/win32/win32_files.h"

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

// A file time (100-nanosecond steps since 1601) in seconds since 1970.
int64_t unixTime(const FILETIME& time) {
  const uint64_t steps = uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
  return static_cast<int64_t>(steps / 10000000u) - 11644473600;
}

class Win32OpenFile : public OpenFile {
 public:
  Win32OpenFile(HANDLE handle, int64_t length, int64_t modified)
      : handle_(handle), length_(length), modified_(modified) {}
  ~Win32OpenFile() override { CloseHandle(handle_); }
  Win32OpenFile(const Win32OpenFile&) = delete;
  Win32OpenFile& operator=(const Win32OpenFile&) = delete;

  int64_t length() const override { return length_; }
  int64_t modified() const override { return modified_; }

  base::Outcome<int64_t> readAt(int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0) return base::failure("a negative offset");
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
        if (done == 0) return base::failure(lastErrorText());
        return static_cast<int64_t>(done);
      }
      if (got == 0) break;
      done += got;
    }
    return static_cast<int64_t>(done);
  }

 private:
  HANDLE handle_;
  int64_t length_;
  int64_t modified_;
};

// The platform's own enumeration, in its own order, with its own wildcards;
// data files read without restricting anyone else's access.
class Win32Disk : public Disk {
 public:
  base::Outcome<std::vector<DirectoryEntry>> list(const std::string& pattern) override {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      // No name matches, or no such directory: a listing, empty. Anything
      // else: none.
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return entries;
      return base::failure(lastErrorText());
    }
    do {
      entries.push_back(describe(found));
    } while (FindNextFileA(search, &found));
    const bool ended = GetLastError() == ERROR_NO_MORE_FILES;
    const std::string problem = ended ? std::string() : lastErrorText();
    FindClose(search);
    if (!ended) return base::failure(problem);
    return entries;
  }

  base::Outcome<std::unique_ptr<OpenFile>> openForReading(const std::string& path) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return base::failure(lastErrorText());
    LARGE_INTEGER size;
    const int64_t length = GetFileSizeEx(handle, &size) ? static_cast<int64_t>(size.QuadPart) : -1;
    FILETIME written;
    const int64_t modified =
        GetFileTime(handle, nullptr, nullptr, &written) ? unixTime(written) : 0;
    std::unique_ptr<OpenFile> file = std::make_unique<Win32OpenFile>(handle, length, modified);
    return file;
  }

  base::Status appendToFile(const std::string& path, std::string_view bytes) override {
    return appendBytes(path, bytes);
  }

  // Windows data disks are CDs, which have no links: the full path is the place.
  base::Outcome<std::string> resolve(const std::string& path) override {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return base::failure("its name cannot be resolved");
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return base::failure("its name cannot be resolved");
    full.resize(length);
    return full;
  }

  base::Outcome<FileFacts> inspect(const std::string& path) override {
    // Backup semantics: directories open too; no access asked, only attributes.
    const HANDLE handle = openShared(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE) return base::failure(lastErrorText());
    FileFacts facts;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info)) {
      facts.identity = {info.dwVolumeSerialNumber,
                        uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
      facts.links = info.nNumberOfLinks;
      facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      facts.regular = !facts.directory;
      if (facts.regular)
        facts.size = static_cast<int64_t>(uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow);
      facts.modified = unixTime(info.ftLastWriteTime);
    }
    CloseHandle(handle);
    return facts;
  }

  std::optional<std::string> volumeLabel(const std::string& folder) override {
    return mountedVolumeLabel(folder);
  }

  base::Status replaceFile(const std::string& path, std::string_view bytes) override {
    const base::Outcome<std::string> place = resolve(path);
    return replaceWhole(path, place ? *place : std::string(), bytes);
  }
};

}  // namespace

Disk& systemDisk() {
  static Win32Disk disk;
  return disk;
}

}  // namespace platform
