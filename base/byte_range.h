#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace base {

// A stretch of a file's bytes.
struct ByteRange {
  int64_t offset = 0;
  int64_t size = 0;
  bool operator==(const ByteRange& other) const = default;
};

// Which bytes of each file a reader that meets them once, front to back, keeps:
// the leading bytes up to and including the first zero byte (at most
// leadingLimit, or the whole file when it is shorter and has none), then the
// ranges that rangesAfter names for that leading text and the file's length.
struct KeepPolicy {
  std::size_t leadingLimit = 0;
  std::function<std::vector<ByteRange>(std::string_view leading, int64_t length)> rangesAfter;
};

}  // namespace base
