#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <optional>

#include "platform/disk.h"
#include "platform/file_writes.h"
#include "platform/path_rules.h"
#include "platform/win32/win32_files.h"

namespace platform {

namespace {

// Writes bytes to a device or console as it is.
base::Status writeDirectly(const std::string& path, std::string_view bytes) {
  const HANDLE handle = openShared(path, GENERIC_WRITE, OPEN_EXISTING, 0);
  if (handle == INVALID_HANDLE_VALUE) return base::failure(lastErrorText());
  std::optional<std::string> problem;
  if (!writeAll(handle, bytes)) problem = lastErrorText();
  CloseHandle(handle);
  if (problem) return base::failure(*problem);
  return {};
}

}  // namespace

base::Status appendBytes(const std::string& path, std::string_view bytes) {
  int fd = -1;
  if (_sopen_s(&fd, path.c_str(), _O_WRONLY | _O_APPEND | _O_BINARY, _SH_DENYNO, 0) != 0) {
    if (_sopen_s(&fd, path.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _SH_DENYNO,
                 _S_IREAD | _S_IWRITE) != 0) {
      return base::failure("it cannot be opened for appending");
    }
  }
  _write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
  _close(fd);
  return {};
}

base::Status replaceWhole(const std::string& path, const std::string& place,
                          std::string_view bytes) {
  const base::Outcome<FileFacts> existing = systemDisk().inspect(path);
  if (existing && existing->directory) return base::failure("it is a directory");
  if (existing && !existing->regular) return writeDirectly(path, bytes);
  if (place.empty()) return base::failure("its name cannot be resolved");
  const std::string directory = directoryPart(place);
  char temporary[MAX_PATH];
  if (GetTempFileNameA(directory.empty() ? "." : directory.c_str(), "cdt", 0, temporary) == 0)
    return base::failure(lastErrorText());
  std::optional<std::string> problem;
  const HANDLE handle = openShared(temporary, GENERIC_WRITE, TRUNCATE_EXISTING, 0);
  if (handle == INVALID_HANDLE_VALUE) {
    problem = lastErrorText();
  } else {
    if (!writeAll(handle, bytes) || !FlushFileBuffers(handle)) problem = lastErrorText();
    if (!CloseHandle(handle) && !problem) problem = lastErrorText();
  }
  // ReplaceFile keeps the replaced file's attributes and access rights.
  if (!problem && !(existing ? ReplaceFileA(place.c_str(), temporary, nullptr,
                                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                             : MoveFileExA(temporary, place.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
    problem = lastErrorText();
  }
  if (!problem) return {};
  DeleteFileA(temporary);
  return base::failure(*problem);
}

}  // namespace platform
