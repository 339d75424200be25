#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"

namespace platform {

struct DirectoryEntry {
  std::string name;  // without directory part
  bool hidden = false;
  bool system = false;
  bool directory = false;
  bool link = false;  // a symbolic link (or other reparse point): it may lead anywhere
  bool operator==(const DirectoryEntry&) const = default;
};

// What makes a file itself, however a path spells it: on POSIX the device
// and inode, on Windows the volume serial number and file index.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// What the host tells of an existing file.
struct FileFacts {
  FileIdentity identity;
  uint32_t links = 1;    // how many names (hard links) the file has
  bool regular = false;  // a regular file: not a directory, device, FIFO or console
  bool directory = false;
  int64_t size = -1;     // a regular file's length in bytes; -1 when unknown
  int64_t modified = 0;  // when its content last changed, seconds since 1970 UTC
};

// A file opened for reading in binary mode, without restricting anyone else's
// access to it; closed when the object ends.
class OpenFile {
 public:
  virtual ~OpenFile() = default;

  // The file's length in bytes, taken when it was opened; -1 when unknown.
  virtual int64_t length() const = 0;

  // When its content last changed, taken when it was opened, as inspect tells
  // it: seconds since 1970 UTC; 0 when unknown.
  virtual int64_t modified() const = 0;

  // Reads up to size bytes from offset into buffer: how many were delivered
  // (fewer at the end of the file, 0 past it); a failure when the read fails
  // or offset is negative.
  virtual base::Outcome<int64_t> readAt(int64_t offset, char* buffer, std::size_t size) = 0;

  // Whether all size bytes from offset were read into buffer.
  bool readWhole(int64_t offset, char* buffer, std::size_t size) {
    const base::Outcome<int64_t> got = readAt(offset, buffer, size);
    return got && *got == static_cast<int64_t>(size);
  }
};

// Everything the program asks of the file system: listing the archive disk,
// reading its data files, appending to the logs. One implementation per host
// (chosen by CMake), and an in-memory one for tests.
class Disk {
 public:
  virtual ~Disk() = default;

  // The entries matched by pattern: a directory part ending in the path
  // separator, then a wildcard pattern for the entry names ("*" any run, "?" one
  // character, "*.*" every name). Entries come in the host's enumeration order;
  // empty when nothing matches or there is no such directory. A failure when
  // the directory is there but cannot be read (no permission, an I/O error).
  virtual base::Outcome<std::vector<DirectoryEntry>> list(const std::string& pattern) = 0;

  // Opens path for reading (never null); a failure when it cannot be opened.
  virtual base::Outcome<std::unique_ptr<OpenFile>> openForReading(const std::string& path) = 0;

  // Appends bytes to the file at path with a single write, so lines appended by
  // several processes at once never interleave. The file is opened write-only in
  // append mode without creating it; when that fails it is created (read and
  // write for the owner only) or, if it appeared meanwhile, appended to, never
  // truncated. A failure when the file cannot be opened, and at once where
  // opening would wait (a FIFO without a reader); a short write is not
  // reported. The file is closed before returning.
  virtual base::Status appendToFile(const std::string& path, std::string_view bytes) = 0;

  // The absolute path that path leads to, every link followed and "." and ".."
  // resolved as the host does; for a path whose last part does not exist (or is
  // a link that leads nowhere), the place where it would be created. A failure
  // when that cannot be told (a directory on the way is missing, a link loop).
  virtual base::Outcome<std::string> resolve(const std::string& path) = 0;

  // The facts of the file that path leads to, links followed; a failure when
  // there is no such file or the host cannot tell.
  virtual base::Outcome<FileFacts> inspect(const std::string& path) = 0;

  // Makes bytes the whole content of the file that path leads to (links
  // followed), or changes nothing: the bytes go to a new file beside it, which
  // takes its name only after every byte reached the storage; an existing file's
  // permissions are kept. Where path names neither a regular file nor nothing
  // (a device, a FIFO, a console), the bytes are written to it directly. A
  // failure says why.
  virtual base::Status replaceFile(const std::string& path, std::string_view bytes) = 0;

  // The label of the disk's volume where folder is where the host mounts a
  // disk: on Linux the mount point of an ISO 9660 or UDF volume, on Windows a
  // drive's root (volume_label.h). Nothing elsewhere, or for a volume without
  // a label.
  virtual std::optional<std::string> volumeLabel(const std::string& folder) = 0;
};

// The host's file system.
Disk& systemDisk();

}  // namespace platform
