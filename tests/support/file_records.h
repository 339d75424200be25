#pragma once

#include <cstdint>
#include <string>

#include "survey/file_record.h"

namespace testsupport {

// A usable file of station VELK at 49N, 10 Hz, covering start to end.
inline survey::FileRecord usableFile(const std::string& path, int64_t start, int64_t end,
                                     const std::string& latitude = "49N") {
  survey::FileRecord record;
  record.path = path;
  record.usable = true;
  record.station = "VELK";
  record.latitude = latitude;
  record.frequency = 10;
  record.start = start;
  record.end = end;
  return record;
}

}  // namespace testsupport
