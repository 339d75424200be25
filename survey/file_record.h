#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace survey {

// What cdcoverage keeps of one data file: enough to summarise a disk again
// from its JSON summary, without the disk.
struct FileRecord {
  std::string path;  // as cdverify's logs show it
  bool usable = false;
  // The file's station name, as wide as cdverify compares it. An unusable file
  // is counted to the station of the usable file before it on its disk.
  std::string station;
  // Usable files only: the header's position and frequency, and the seconds
  // from the internal clock's start to the end of the records.
  std::string latitude;
  std::string longitude;
  std::string altitude;
  int32_t frequency = 0;
  int64_t start = 0;
  int64_t end = 0;
  std::vector<std::string> clockWarnings;  // the clock checks' messages
};

// One disk: its name as given and its data files in the walk's order.
struct DiskRecord {
  std::string name;
  std::vector<FileRecord> files;
};

}  // namespace survey
