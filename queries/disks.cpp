#include "queries/disks.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

#include "base/printable_name.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace queries {

namespace {

constexpr std::array<const char*, 12> kColumns = {"label",  "stream", "copy_of", "label_from",
                                                  "source", "files",  "bytes",   "first",
                                                  "last",   "added",  "proven",  "state"};

// Where a disk's label came from, as the report names it.
std::string labelFrom(const catalog::DiskEntry& disk) {
  return disk.labelSource == catalog::LabelSource::kUnknown
             ? "unknown"
             : catalog::labelSourceName(disk.labelSource);
}

// A disk's fields as text, in the columns' order.
std::array<std::string, kColumns.size()> fieldsOf(const catalog::DiskEntry& disk) {
  return {disk.label,
          catalog::streamName(disk.stream),
          disk.copyOf.value_or(""),
          labelFrom(disk),
          disk.source,
          std::to_string(disk.files),
          std::to_string(disk.bytes),
          times::isoTimeOrNone(disk.first),
          times::isoTimeOrNone(disk.last),
          times::isoTime(disk.added),
          times::isoTimeOrNone(disk.proven),
          catalog::diskStateName(disk.state)};
}

std::string textReport(const std::vector<catalog::DiskEntry>& disks) {
  std::vector<std::array<std::string, kColumns.size()>> rows;
  rows.push_back({});
  std::copy(kColumns.begin(), kColumns.end(), rows.back().begin());
  for (const catalog::DiskEntry& disk : disks) {
    rows.push_back(fieldsOf(disk));
    for (std::string& field : rows.back()) field = field.empty() ? "-" : base::printableName(field);
  }
  std::array<std::size_t, kColumns.size()> widths{};
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  std::string text;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
    }
    text += line + "\n";
  }
  return text;
}

std::string csvReport(const std::vector<catalog::DiskEntry>& disks) {
  std::string csv;
  for (const char* column : kColumns) csv += std::string(csv.empty() ? "" : "|") + column;
  csv += "\r\n";
  for (const catalog::DiskEntry& disk : disks) {
    std::string line;
    for (const std::string& field : fieldsOf(disk))
      line += (line.empty() ? "" : "|") + summary::csvField(field);
    csv += line + "\r\n";
  }
  return csv;
}

std::string jsonReport(const std::vector<catalog::DiskEntry>& disks) {
  using Json = nlohmann::ordered_json;
  const auto time = [](const std::optional<int64_t>& t) {
    return t ? Json(times::isoTime(*t)) : Json(nullptr);
  };
  Json list = Json::array();
  for (const catalog::DiskEntry& disk : disks) {
    list.push_back({{"label", disk.label},
                    {"stream", catalog::streamName(disk.stream)},
                    {"copy_of", disk.copyOf ? Json(*disk.copyOf) : Json(nullptr)},
                    {"label_from", labelFrom(disk)},
                    {"source", disk.source},
                    {"files", disk.files},
                    {"bytes", disk.bytes},
                    {"first", time(disk.first)},
                    {"last", time(disk.last)},
                    {"added", times::isoTime(disk.added)},
                    {"proven", time(disk.proven)},
                    {"state", catalog::diskStateName(disk.state)}});
  }
  return Json{{"disks", list}}.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

const std::vector<ReportFormat<std::vector<catalog::DiskEntry>>>& disksFormats() {
  static const std::vector<ReportFormat<std::vector<catalog::DiskEntry>>> formats = {
      {"text", textReport}, {"csv", csvReport}, {"json", jsonReport}};
  return formats;
}

}  // namespace queries
