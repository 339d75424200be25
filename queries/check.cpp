#include "queries/check.h"

#include <array>
#include <map>
#include <nlohmann/json.hpp>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "catalog/disk_identity.h"
#include "times/iso_time.h"

namespace queries {

namespace {

constexpr std::array kStatuses = {fixity::AuditStatus::kMatched, fixity::AuditStatus::kChanged,
                                  fixity::AuditStatus::kMoved,   fixity::AuditStatus::kMissing,
                                  fixity::AuditStatus::kNew,     fixity::AuditStatus::kUnreadable};

std::string rangesText(const fixity::AuditEntry& entry) {
  if (entry.directory) return "the directory cannot be listed";
  if (!entry.opened) return "cannot be opened";
  std::string text = "bytes";
  for (const base::ByteRange& range : entry.unreadable) {
    text +=
        " " + std::to_string(range.offset) + ".." + std::to_string(range.offset + range.size - 1);
  }
  return text;
}

std::string textReport(const CheckedDisk& checked) {
  const std::vector<fixity::AuditEntry>& entries = checked.entries;
  std::string text;
  std::array<std::size_t, kStatuses.size()> counts{};
  for (const fixity::AuditEntry& entry : entries) {
    ++counts[static_cast<std::size_t>(entry.status)];
    if (entry.status == fixity::AuditStatus::kMatched) continue;
    text += std::string(fixity::auditStatusName(entry.status)) + " " +
            (entry.path.empty() ? std::string("./") : base::printableName(entry.path));
    if (entry.status == fixity::AuditStatus::kMoved)
      text += " (was " + base::printableName(entry.from) + ")";
    if (entry.status == fixity::AuditStatus::kUnreadable) text += ": " + rangesText(entry);
    text += "\n";
  }
  for (const LostTime& time : checked.lost) {
    text += "lost: station " + base::printableName(time.station) + ", " +
            times::isoTime(time.span.start) + " to " + times::isoTime(time.span.end) + " (" +
            time.path + ")\n";
  }
  text += base::printableName(checked.label) + ": " +
          base::counted(static_cast<int64_t>(entries.size()), "file");
  for (std::size_t i = 0; i < kStatuses.size(); ++i) {
    text += std::string(i == 0 ? ": " : ", ") + std::to_string(counts[i]) + " " +
            fixity::auditStatusName(kStatuses[i]);
  }
  return text + "\n";
}

std::string jsonReport(const CheckedDisk& checked) {
  const std::vector<fixity::AuditEntry>& entries = checked.entries;
  using Json = nlohmann::ordered_json;
  Json files = Json::array(), lostTimes = Json::array(), summary = Json::object();
  summary["files"] = entries.size();
  for (const fixity::AuditStatus status : kStatuses) summary[fixity::auditStatusName(status)] = 0;
  for (const fixity::AuditEntry& entry : entries) {
    Json item = {{"path", entry.path}, {"status", fixity::auditStatusName(entry.status)}};
    if (entry.status == fixity::AuditStatus::kMoved) item["from"] = entry.from;
    if (entry.status == fixity::AuditStatus::kUnreadable) {
      Json ranges = Json::array();
      for (const base::ByteRange& range : entry.unreadable)
        ranges.push_back({{"offset", range.offset}, {"size", range.size}});
      if (entry.directory) item["directory"] = true;
      item["opened"] = entry.opened;
      item["unreadable"] = ranges;
    }
    files.push_back(item);
    summary[fixity::auditStatusName(entry.status)] =
        summary[fixity::auditStatusName(entry.status)].get<std::size_t>() + 1;
  }
  for (const LostTime& time : checked.lost) {
    lostTimes.push_back({{"station", time.station},
                         {"path", time.path},
                         {"start", times::isoTime(time.span.start)},
                         {"end", times::isoTime(time.span.end)},
                         {"seconds", time.span.seconds()}});
  }
  const Json report = {
      {"disk", checked.label}, {"files", files}, {"lost", lostTimes}, {"summary", summary}};
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

std::vector<LostTime> lostTimeOf(const catalog::CataloguedDisk& disk) {
  std::vector<LostTime> lost;
  for (const catalog::CataloguedFile& file : disk.files) {
    for (const times::TimeSpan& span : file.lost)
      lost.push_back(LostTime{file.record.station, file.record.path, span});
  }
  return lost;
}

std::vector<LostTime> checkLostTime(const catalog::CataloguedDisk& read,
                                    const std::string& readRoot,
                                    const std::vector<fixity::AuditEntry>& entries,
                                    const catalog::CataloguedDisk& recorded,
                                    const std::string& recordedRoot) {
  std::map<std::string, const catalog::CataloguedFile*> readNow, recordedThen;
  for (const catalog::CataloguedFile& file : read.files)
    readNow[catalog::pathBelowRoot(file.record.path, readRoot)] = &file;
  for (const catalog::CataloguedFile& file : recorded.files)
    recordedThen[catalog::pathBelowRoot(file.record.path, recordedRoot)] = &file;
  std::vector<LostTime> lost = lostTimeOf(read);
  for (const fixity::AuditEntry& entry : entries) {
    if (entry.status != fixity::AuditStatus::kUnreadable || entry.directory) continue;
    const auto then = recordedThen.find(entry.path);
    const auto now = readNow.find(entry.path);
    if (then == recordedThen.end() || !then->second->record.usable) continue;
    if (now != readNow.end() && now->second->record.usable) continue;  // placed by lostTimeOf
    const survey::FileRecord& record = then->second->record;
    lost.push_back(LostTime{record.station,
                            now != readNow.end() ? now->second->record.path : record.path,
                            times::TimeSpan{record.start, record.end}});
  }
  return lost;
}

const std::vector<ReportFormat<CheckedDisk>>& checkFormats() {
  static const std::vector<ReportFormat<CheckedDisk>> formats = {{"text", textReport},
                                                                 {"json", jsonReport}};
  return formats;
}

}  // namespace queries
