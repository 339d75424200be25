#include "tools/datagen/data_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "base/text_format.h"
#include "times/calendar.h"

namespace datagen {
namespace {

constexpr std::size_t kBinaryHeaderSize = 1096;
constexpr int32_t kDefaultStart = 1150372800;  // 15-06-2006 12:00:00

}  // namespace

std::string dateText(int32_t seconds) {
  times::DosDate date;
  times::DosTime time;
  times::secondsToDateTime(seconds, &date, &time);
  return base::formatText("%02d-%02d-%04d", date.day, date.month, date.year);
}

std::string timeText(int32_t seconds) {
  times::DosDate date;
  times::DosTime time;
  times::secondsToDateTime(seconds, &date, &time);
  return base::formatText("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

DataFile::DataFile() {
  sections_ = {
      {"SYSTEM",
       {{"NAME", "VELK"},
        {"LAT", "49.1234N"},
        {"LON", "16.5678E"},
        {"ALT", "300"},
        {"FREQ", "10"},
        {"N_GROUP", "1"},
        {"N_STREAM", "1"},
        {"N_CHANNEL", "3"}}},
      {"FILE", {{"STREAM", "1"}, {"DATA_SEC", "60"}}},
      {"STREAM1",
       {{"N_CH", "3"}, {"CH#", "1,2,3"}, {"REC_SIZE_SEC", "10"}, {"FILE_SIZE_SEC", "60"}}},
      {"GROUP1", {{"N_CH", "3"}, {"FREQ", "10"}, {"CH#", "1,2,3"}}},
      {"CH1", {{"NAME", "Z"}}},
      {"CH2", {{"NAME", "N"}}},
      {"CH3", {{"NAME", "E"}}},
      {"HEADER", {{"HEADER_SIZE", "1024"}, {"OFFSET_TO_DATA", "2120"}}},
  };
  startingAt(kDefaultStart);
}

DataFile& DataFile::set(const std::string& section, const std::string& key,
                        const std::string& value) {
  auto found = std::find_if(sections_.begin(), sections_.end(),
                            [&](const auto& s) { return s.first == section; });
  if (found == sections_.end()) {
    const auto header = std::find_if(sections_.begin(), sections_.end(),
                                     [](const auto& s) { return s.first == "HEADER"; });
    found = sections_.insert(header, {section, {}});
  }
  for (auto& [k, v] : found->second) {
    if (k == key) {
      v = value;
      return *this;
    }
  }
  found->second.emplace_back(key, value);
  return *this;
}

DataFile& DataFile::remove(const std::string& section, const std::string& key) {
  for (auto& [name, keys] : sections_) {
    if (name != section) continue;
    keys.erase(
        std::remove_if(keys.begin(), keys.end(), [&](const auto& kv) { return kv.first == key; }),
        keys.end());
  }
  return *this;
}

DataFile& DataFile::startingAt(int32_t externalStart) {
  const int32_t internalStart = externalStart + 1;
  set("FILE", "DATE_INT", dateText(internalStart));
  set("FILE", "TIME_INT", timeText(internalStart) + ".00");
  set("FILE", "DATE_EXT", dateText(externalStart));
  set("FILE", "TIME_EXT", timeText(externalStart));
  set("FILE", "DATE_DOS", dateText(internalStart));
  set("FILE", "TIME_DOS", timeText(internalStart));
  return *this;
}

DataFile& DataFile::records(int32_t count) {
  records_ = count;
  return *this;
}

DataFile& DataFile::recordSize(int32_t bytes) {
  recordSize_ = bytes;
  return *this;
}

DataFile& DataFile::extraBytes(int32_t count) {
  extraBytes_ = count;
  return *this;
}

std::string DataFile::headerText() const {
  std::string text;
  for (const auto& [name, keys] : sections_) {
    text += "[" + name + "]\r\n";
    for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  }
  return text;
}

int32_t DataFile::headerValue(const std::string& key, int32_t fallback) const {
  for (const auto& [name, keys] : sections_) {
    if (name != "HEADER") continue;
    for (const auto& [k, v] : keys) {
      if (k == key) return static_cast<int32_t>(std::strtol(v.c_str(), nullptr, 10));
    }
  }
  return fallback;
}

std::string DataFile::bytes() const {
  const auto atLeastZero = [](int32_t n) { return static_cast<std::size_t>(std::max(0, n)); };
  const std::size_t headerSize = atLeastZero(headerValue("HEADER_SIZE", 1024));
  const std::size_t dataOffset = atLeastZero(headerValue("OFFSET_TO_DATA", 2120));
  std::string bytes = headerText();
  bytes.resize(std::max(bytes.size(), headerSize + kBinaryHeaderSize), '\0');
  // The binary block: a recognisable pattern without zero bytes or line breaks.
  for (std::size_t i = 0; i < kBinaryHeaderSize; ++i) {
    bytes[headerSize + i] = static_cast<char>(0x80 | (i & 0x3F));
  }
  // The records start at OFFSET_TO_DATA, so the file's length is exactly
  // OFFSET_TO_DATA + records x record size + extra bytes.
  bytes.resize(dataOffset, '\0');
  bytes.append(atLeastZero(records_) * atLeastZero(recordSize_), '\0');
  bytes.append(atLeastZero(extraBytes_), '\x55');
  return bytes;
}

void DataFile::writeTo(const std::filesystem::path& path) const {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string content = bytes();
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace datagen
