#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace datagen {

// A recording station's data file, built for tests and sample disks: a text
// header of sections and keys (CR LF lines) padded with zero bytes to its
// HEADER_SIZE, a 1096-byte binary header block, then whole records and any
// extra bytes. The default is a valid file of stream 1: station VELK, three
// channels at 10 samples per second, records of 10 seconds (856 bytes), six of
// them, the internal clock one second after the external one.
class DataFile {
 public:
  DataFile();

  // Sets key of section, keeping the order of keys and sections; a new section
  // goes to the end of the header, just before HEADER.
  DataFile& set(const std::string& section, const std::string& key, const std::string& value);
  DataFile& remove(const std::string& section, const std::string& key);
  // Dates the file: the external clock starts at externalStart (seconds since
  // 1970), the internal one and the DOS stamp a second later, with hundredths 00.
  DataFile& startingAt(int32_t externalStart);
  DataFile& records(int32_t count);
  DataFile& recordSize(int32_t bytes);
  // Bytes after the last whole record.
  DataFile& extraBytes(int32_t count);

  std::string headerText() const;
  std::string bytes() const;
  void writeTo(const std::filesystem::path& path) const;

 private:
  using Keys = std::vector<std::pair<std::string, std::string>>;
  // A HEADER value as a number, for laying out the bytes.
  int32_t headerValue(const std::string& key, int32_t fallback) const;

  std::vector<std::pair<std::string, Keys>> sections_;
  int32_t records_ = 6;
  int32_t recordSize_ = 856;
  int32_t extraBytes_ = 0;
};

// "dd-mm-yyyy" and "hh:mm:ss" of a count of seconds since 1970.
std::string dateText(int32_t seconds);
std::string timeText(int32_t seconds);

}  // namespace datagen
