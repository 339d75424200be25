#include "summary/summary_json.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "times/iso_time.h"

namespace summary {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kSummaryVersion = 1;

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

Json stationJson(const StationSummary& station) {
  Json overlapPairs = Json::array();
  for (const OverlapPair& pair : station.overlapPairs) {
    overlapPairs.push_back({{"start", times::isoTime(pair.span.start)},
                            {"end", times::isoTime(pair.span.end)},
                            {"seconds", pair.span.seconds()},
                            {"files", {fileName(pair.first), fileName(pair.second)}}});
  }
  Json events = Json::array();
  for (const StationEvent& event : station.events) events.push_back(eventJson(event));
  return {{"station", station.station},
          {"firstStart", timeOrNull(station.firstStart)},
          {"lastEnd", timeOrNull(station.lastEnd)},
          {"window", {times::isoTime(station.window.start), times::isoTime(station.window.end)}},
          {"timespans", spanList(spansOf(station.timespans))},
          {"gaps", spanList(spansOf(station.gaps))},
          {"overlaps", spanList(station.overlaps)},
          {"overlapFiles", overlapPairs},
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

int64_t timeField(const Json& object, const char* key) {
  const std::optional<int64_t> time = times::parseIsoTime(object.at(key).get<std::string>());
  if (!time) throw std::invalid_argument(std::string("\"") + key + "\" is not an ISO 8601 time");
  return *time;
}

// An integer field: a JSON number without fraction that fits 32 bits (a cast of
// any other number would be undefined).
int32_t int32Field(const Json& object, const char* key) {
  const Json& value = object.at(key);
  if (!value.is_number_integer() || value < INT32_MIN || value > INT32_MAX) {
    throw std::invalid_argument(std::string("\"") + key + "\" is not a 32-bit integer");
  }
  return value.get<int32_t>();
}

FileRecord fileFromJson(const Json& json) {
  FileRecord file;
  file.path = json.at("path").get<std::string>();
  file.usable = json.at("usable").get<bool>();
  file.station = json.at("station").get<std::string>();
  if (!file.usable) return file;
  file.start = timeField(json, "start");
  file.end = timeField(json, "end");
  file.latitude = json.at("latitude").get<std::string>();
  file.longitude = json.at("longitude").get<std::string>();
  file.altitude = json.at("altitude").get<std::string>();
  file.frequency = int32Field(json, "frequency");
  file.clockWarnings = json.at("clockWarnings").get<std::vector<std::string>>();
  return file;
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

std::variant<std::vector<DiskRecord>, std::string> disksFromSummaryJson(std::string_view text) {
  try {
    const Json json = Json::parse(text);
    if (json.at("version") != kSummaryVersion) {
      return "not a cdcoverage summary of version " + std::to_string(kSummaryVersion);
    }
    std::vector<DiskRecord> disks;
    for (const Json& disk : json.at("disks")) {
      DiskRecord record{disk.at("disk").get<std::string>(), {}};
      for (const Json& file : disk.at("files")) record.files.push_back(fileFromJson(file));
      disks.push_back(std::move(record));
    }
    return disks;
  } catch (const std::exception& error) {
    return std::string(error.what());
  }
}

}  // namespace summary
