#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/disk.h"
#include "platform/path_rules.h"
#include "platform/volume_label.h"

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
  int64_t modified_;
};

// The system's message for the last error, without its line end.
std::string lastErrorText() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

// Writes all of bytes through handle; false on failure, GetLastError telling why.
bool writeAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Opens path with access, sharing with everyone, as disposition says.
HANDLE openShared(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, disposition, flags, nullptr);
}

// The platform's own enumeration, in its own order, with its own wildcards;
// data files read without restricting anyone else's access.
class Win32Disk : public Disk {
 public:
  std::optional<std::vector<DirectoryEntry>> list(const std::string& pattern) override {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      // No name matches, or no such directory: a listing, empty. Anything
      // else: none.
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return entries;
      return std::nullopt;
    }
    do {
      entries.push_back(describe(found));
    } while (FindNextFileA(search, &found));
    const bool ended = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    if (!ended) return std::nullopt;
    return entries;
  }

  std::unique_ptr<OpenFile> openForReading(const std::string& path) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size;
    const int64_t length = GetFileSizeEx(handle, &size) ? static_cast<int64_t>(size.QuadPart) : -1;
    FILETIME written;
    const int64_t modified =
        GetFileTime(handle, nullptr, nullptr, &written) ? unixTime(written) : 0;
    return std::make_unique<Win32OpenFile>(handle, length, modified);
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

  std::optional<FileFacts> inspect(const std::string& path) override {
    // Backup semantics: directories open too; no access asked, only attributes.
    const HANDLE handle = openShared(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
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

  std::optional<std::string> replaceFile(const std::string& path, std::string_view bytes) override {
    const std::optional<FileFacts> existing = inspect(path);
    if (existing && existing->directory) return std::string("it is a directory");
    if (existing && !existing->regular) return writeDirectly(path, bytes);
    const std::optional<std::string> place = resolve(path);
    if (!place) return std::string("its name cannot be resolved");
    const std::string directory = directoryPart(*place);
    char temporary[MAX_PATH];
    if (GetTempFileNameA(directory.empty() ? "." : directory.c_str(), "cdt", 0, temporary) == 0) {
      return lastErrorText();
    }
    std::optional<std::string> problem;
    const HANDLE handle = openShared(temporary, GENERIC_WRITE, TRUNCATE_EXISTING, 0);
    if (handle == INVALID_HANDLE_VALUE) {
      problem = lastErrorText();
    } else {
      if (!writeAll(handle, bytes) || !FlushFileBuffers(handle)) problem = lastErrorText();
      if (!CloseHandle(handle) && !problem) problem = lastErrorText();
    }
    // ReplaceFile keeps the replaced file's attributes and access rights.
    if (!problem && !(existing ? ReplaceFileA(place->c_str(), temporary, nullptr,
                                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                               : MoveFileExA(temporary, place->c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
      problem = lastErrorText();
    }
    if (problem) DeleteFileA(temporary);
    return problem;
  }

 private:
  // Writes bytes to a device or console as it is.
  static std::optional<std::string> writeDirectly(const std::string& path, std::string_view bytes) {
    const HANDLE handle = openShared(path, GENERIC_WRITE, OPEN_EXISTING, 0);
    if (handle == INVALID_HANDLE_VALUE) return lastErrorText();
    std::optional<std::string> problem;
    if (!writeAll(handle, bytes)) problem = lastErrorText();
    CloseHandle(handle);
    return problem;
  }
};

}  // namespace

Disk& systemDisk() {
  static Win32Disk disk;
  return disk;
}

}  // namespace platform
