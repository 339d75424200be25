#include "summary/summary_json.h"

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "summary/daily_availability.h"
#include "times/iso_time.h"

namespace summary {

namespace {

using Json = nlohmann::ordered_json;

// 2: "overlaps" became regions naming their files, and the pairs "overlapPairs".
// The disks, all that is read back, are the same in both.
constexpr int kSummaryVersion = 2;
constexpr int kOldestReadableVersion = 1;

Json timeOrNull(const std::optional<int64_t>& time) {
  return time ? Json(times::isoTime(*time)) : Json(nullptr);
}

Json spanList(const std::vector<times::TimeSpan>& spans) {
  Json list = Json::array();
  for (const times::TimeSpan& span : spans)
    list.push_back({times::isoTime(span.start), times::isoTime(span.end)});
  return list;
}

Json fileName(const FileName& name) { return {{"disk", name.disk}, {"path", name.path}}; }

Json eventJson(const StationEvent& event) {
  Json json = {{"kind", eventKindName(event.kind)}};
  if (event.time) json["time"] = times::isoTime(*event.time);
  json["file"] = fileName(event.file);
  if (event.change) {
    json["previousFile"] = fileName(event.change->previousFile);
    json["field"] = event.change->field;
    json["from"] = event.change->from;
    json["to"] = event.change->to;
  }
  if (!event.message.empty()) json["message"] = event.message;
  return json;
}

Json overlapJson(const times::TimeSpan& span, const std::vector<FileName>& files) {
  Json names = Json::array();
  for (const FileName& file : files) names.push_back(fileName(file));
  return {{"start", times::isoTime(span.start)},
          {"end", times::isoTime(span.end)},
          {"seconds", span.seconds()},
          {"files", names}};
}

Json stationJson(const StationSummary& station) {
  Json overlaps = Json::array();
  for (const OverlapRegion& region : station.overlaps)
    overlaps.push_back(overlapJson(region.span, region.files));
  Json overlapPairs = Json::array();
  for (const OverlapPair& pair : station.overlapPairs)
    overlapPairs.push_back(overlapJson(pair.span, {pair.first, pair.second}));
  Json events = Json::array();
  for (const StationEvent& event : station.events) events.push_back(eventJson(event));
  return {{"station", station.station},
          {"firstStart", timeOrNull(station.firstStart)},
          {"lastEnd", timeOrNull(station.lastEnd)},
          {"window", {times::isoTime(station.window.start), times::isoTime(station.window.end)}},
          {"timespans", spanList(spansOf(station.timespans))},
          {"gaps", spanList(spansOf(station.gaps))},
          {"overlaps", overlaps},
          {"overlapPairs", overlapPairs},
          {"spanSeconds", station.spanSeconds},
          {"realDataSeconds", station.realDataSeconds},
          {"coveragePercent", station.coveragePercent},
          {"events", events}};
}

Json fileJson(const FileRecord& file) {
  Json json = {{"path", file.path}, {"usable", file.usable}, {"station", file.station}};
  if (!file.usable) return json;
  json["start"] = times::isoTime(file.start);
  json["end"] = times::isoTime(file.end);
  json["latitude"] = file.latitude;
  json["longitude"] = file.longitude;
  json["altitude"] = file.altitude;
  json["frequency"] = file.frequency;
  json["clockWarnings"] = file.clockWarnings;
  return json;
}

Json junctions(const std::vector<DiskJunction>& list) {
  Json json = Json::array();
  for (const DiskJunction& junction : list) {
    json.push_back({{"before", junction.before},
                    {"after", junction.after},
                    {"start", times::isoTime(junction.span.start)},
                    {"end", times::isoTime(junction.span.end)},
                    {"seconds", junction.span.seconds()}});
  }
  return json;
}

// A field of a summary's record that is missing or not what it must be. The
// message names the key; the reader adds the record.
[[noreturn]] void badField(const char* key, const char* problem) {
  throw std::invalid_argument(std::string("\"") + key + "\" " + problem);
}

const Json& field(const Json& object, const char* key) {
  if (!object.is_object()) throw std::invalid_argument("a record that is not an object");
  const auto found = object.find(key);
  if (found == object.end()) badField(key, "is missing");
  return *found;
}

std::string textField(const Json& object, const char* key) {
  const Json& value = field(object, key);
  if (!value.is_string()) badField(key, "is not a text");
  return value.get<std::string>();
}

bool flagField(const Json& object, const char* key) {
  const Json& value = field(object, key);
  if (!value.is_boolean()) badField(key, "is not true or false");
  return value.get<bool>();
}

const Json& listField(const Json& object, const char* key) {
  const Json& value = field(object, key);
  if (!value.is_array()) badField(key, "is not a list");
  return value;
}

int64_t timeField(const Json& object, const char* key) {
  const std::optional<int64_t> time = times::parseIsoTime(textField(object, key));
  if (!time) badField(key, "is not an ISO 8601 time");
  return *time;
}

// An integer field: a JSON number without fraction whose value, read exactly
// (an unsigned number is never taken modulo 2^64), fits 32 bits.
int32_t int32Field(const Json& object, const char* key) {
  const Json& value = field(object, key);
  const bool fits = value.is_number_unsigned()
                        ? value.get<uint64_t>() <= static_cast<uint64_t>(INT32_MAX)
                        : value.is_number_integer() && value.get<int64_t>() >= INT32_MIN &&
                              value.get<int64_t>() <= INT32_MAX;
  if (!fits) badField(key, "is not a 32-bit integer");
  return static_cast<int32_t>(value.get<int64_t>());
}

std::vector<std::string> textListField(const Json& object, const char* key) {
  std::vector<std::string> texts;
  for (const Json& item : listField(object, key)) {
    if (!item.is_string()) badField(key, "holds something other than texts");
    texts.push_back(item.get<std::string>());
  }
  return texts;
}

FileRecord fileFromJson(const Json& json) {
  FileRecord file;
  file.path = textField(json, "path");
  file.usable = flagField(json, "usable");
  file.station = textField(json, "station");
  if (!file.usable) return file;
  file.start = timeField(json, "start");
  file.end = timeField(json, "end");
  file.latitude = textField(json, "latitude");
  file.longitude = textField(json, "longitude");
  file.altitude = textField(json, "altitude");
  file.frequency = int32Field(json, "frequency");
  file.clockWarnings = textListField(json, "clockWarnings");
  return file;
}

// Runs read, prefixing the message of what it throws with where: the record it
// was reading.
template <typename Read>
auto readAt(const std::string& where, Read read) {
  try {
    return read();
  } catch (const std::invalid_argument& error) {
    throw std::invalid_argument(where + ": " + error.what());
  }
}

}  // namespace

std::string summaryJson(const CoverageSummary& summary) {
  Json stations = Json::array();
  for (const StationSummary& station : summary.stations) stations.push_back(stationJson(station));
  const Json head = {{"version", kSummaryVersion},
                     {"gapToleranceSeconds", summary.options.gapToleranceSeconds},
                     {"from", timeOrNull(summary.options.from)},
                     {"to", timeOrNull(summary.options.to)},
                     {"stations", stations}};
  // Written by hand around the file records, one compact record a line: a
  // summary of a whole archive holds hundreds of thousands of them.
  std::string text = head.dump(2);
  text.erase(text.size() - 2);  // "\n}"
  text += ",\n  \"disks\": [";
  for (std::size_t i = 0; i < summary.disks.size(); ++i) {
    const DiskSummary& disk = summary.disks[i];
    const std::vector<FileRecord>& files = disk.record.files;
    const Json fields = {{"disk", disk.record.name},
                         {"fileCount", files.size()},
                         {"first", timeOrNull(disk.first)},
                         {"last", timeOrNull(disk.last)}};
    std::string opening = fields.dump();
    opening.pop_back();  // "}"
    text += (i == 0 ? "\n    " : ",\n    ") + opening + ", \"files\": [";
    for (std::size_t k = 0; k < files.size(); ++k) {
      text += (k == 0 ? "\n      " : ",\n      ") + fileJson(files[k]).dump();
    }
    text += files.empty() ? "]}" : "\n    ]}";
  }
  text += summary.disks.empty() ? "],\n" : "\n  ],\n";
  text += "  \"diskGaps\": " + junctions(summary.diskGaps).dump() + ",\n";
  text += "  \"diskOverlaps\": " + junctions(summary.diskOverlaps).dump() + "\n}\n";
  return text;
}

base::Outcome<std::vector<DiskRecord>> disksFromSummaryJson(std::string_view text) {
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::parse_error& error) {
    // The byte counts from 1; one past the text means it ended too early.
    return base::failure(error.byte > text.size()
                             ? std::string("not valid JSON: it ends too early")
                             : "not valid JSON (at byte " + std::to_string(error.byte) + ")");
  } catch (const Json::out_of_range&) {  // a number beyond a double, such as 1E400
    return base::failure("not valid JSON: a number is out of range");
  }
  try {
    const Json& version = field(json, "version");
    if (!version.is_number_integer() || version < kOldestReadableVersion ||
        version > kSummaryVersion) {
      return base::failure("not a cdcoverage summary of version " +
                           std::to_string(kOldestReadableVersion) + " to " +
                           std::to_string(kSummaryVersion));
    }
    std::vector<DiskRecord> disks;
    const Json& list = listField(json, "disks");
    for (std::size_t d = 0; d < list.size(); ++d) {
      readAt("disk " + std::to_string(d + 1), [&] {
        DiskRecord record{textField(list[d], "disk"), {}};
        const Json& files = listField(list[d], "files");
        for (std::size_t f = 0; f < files.size(); ++f) {
          record.files.push_back(
              readAt("file " + std::to_string(f + 1), [&] { return fileFromJson(files[f]); }));
        }
        disks.push_back(std::move(record));
      });
    }
    return disks;
  } catch (const std::exception& error) {  // std::invalid_argument: a field's problem
    return base::failure(error.what());
  }
}

std::string dailyJson(const CoverageSummary& summary) {
  const Json head = {{"gapToleranceSeconds", summary.options.gapToleranceSeconds}};
  std::string text = head.dump(2);
  text.erase(text.size() - 2);  // the closing "\n}"
  text += ",\n  \"days\": [";
  bool first = true;
  for (const DayAvailability& day : dailyAvailability(summary)) {
    const Json row = {{"station", day.station},
                      {"day", times::isoTime(day.day).substr(0, 10)},
                      {"percent", std::round(day.percent() * 1000) / 1000},
                      {"coveredSeconds", day.coveredSeconds},
                      {"gaps", day.gapCount},
                      {"longestGapSeconds", day.longestGapSeconds},
                      {"overlaps", day.overlapCount},
                      {"longestOverlapSeconds", day.longestOverlapSeconds}};
    text += (first ? "\n    " : ",\n    ") + row.dump();
    first = false;
  }
  return text + (first ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace summary
