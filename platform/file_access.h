#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// A file opened for reading in binary mode, without restricting anyone else's
// access to it. It is closed when the object ends or close() is called.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens path; false when it cannot be opened (a file open before is closed).
  bool open(const std::string& path);
  // The file's length in bytes, or -1 when it cannot be determined.
  int64_t length();
  // Positions the file at offset bytes from its start; true only when that
  // position was reached (a negative offset fails).
  bool seek(int64_t offset);
  // Reads up to size bytes; returns how many were delivered (fewer at the end of
  // the file, 0 past it), or -1 on a failure.
  int64_t read(void* buffer, std::size_t size);
  void close();

 private:
  int handle_ = -1;
};

// Appends bytes to the file at path with a single write call, so lines appended
// by several processes at once never interleave. The file is opened write-only
// in append mode without creating it; when that fails it is created (read and
// write for the owner only) or, if it appeared meanwhile, opened in append mode,
// never truncated. Returns false when the file cannot be opened; a short write is
// not reported. The file is closed before returning.
bool appendToFile(const std::string& path, std::string_view bytes);

}  // namespace platform
