#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_range.h"

namespace fixity {

// What a disk's fixity pass found of one file.
struct FileFixity {
  std::string path;                         // below the disk's root, '/' between its parts
  int64_t size = -1;                        // -1: it could not be opened
  std::string sha256;                       // 64 hex digits; empty unless every byte was read
  std::vector<base::ByteRange> unreadable;  // in order, adjacent ones joined
  bool operator==(const FileFixity&) const = default;
};

// The manifest of a disk's files as sha256sum -c reads it: "DIGEST  PATH" per
// file whose every byte was read, in the paths' byte order; a path holding a
// backslash, a line feed or a carriage return is written escaped, its line
// starting with a backslash, as sha256sum writes it.
std::string manifestText(const std::vector<FileFixity>& files);

}  // namespace fixity
