#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// A stretch of a file's bytes.
struct ByteRange {
  int64_t offset = 0;
  int64_t size = 0;
  bool operator==(const ByteRange& other) const = default;
};

// Hears every byte of each regular file that a one-pass reader meets: for each
// file, fileBegins, then its bytes front to back (fileBytes for those read,
// fileUnreadable for those that could not be), then fileEnds.
class FileBytesListener {
 public:
  virtual ~FileBytesListener() = default;
  // path: the file's below the disk's root, '/' between its parts; length -1
  // for a file that cannot be opened, of which nothing follows but fileEnds.
  virtual void fileBegins(const std::string& path, int64_t length) = 0;
  virtual void fileBytes(std::string_view bytes) = 0;
  virtual void fileUnreadable(ByteRange range) = 0;
  virtual void fileEnds() = 0;
  // The file at path holds the same bytes as the one at earlier, met before
  // (an image's names that share their data): they are not told again.
  virtual void fileSameAs(const std::string& path, const std::string& earlier) = 0;
};

// Which bytes of each file a reader that meets them once, front to back, keeps:
// the leading bytes up to and including the first zero byte (at most
// leadingLimit, or the whole file when it is shorter and has none), then the
// ranges that rangesAfter names for that leading text and the file's length.
struct KeepPolicy {
  std::size_t leadingLimit = 0;
  std::function<std::vector<ByteRange>(std::string_view leading, int64_t length)> rangesAfter;
  // When set, the reader reads every byte of every file, folders too, and
  // tells this listener of each.
  FileBytesListener* everyByte = nullptr;
};

}  // namespace base
