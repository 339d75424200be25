#include "queries/find.h"

#include <algorithm>
#include <cinttypes>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "summary/summary_formats.h"
#include "times/duration.h"
#include "times/iso_time.h"

namespace queries {

FoundWindow findIn(const std::vector<catalog::CataloguedDisk>& found, const FindQuery& query) {
  std::optional<int64_t> first, last;
  for (const catalog::CataloguedDisk& disk : found) {
    for (const catalog::CataloguedFile& file : disk.files) {
      const survey::FileRecord& r = file.record;
      if (r.station != query.station || !r.usable || r.end <= r.start) continue;
      first = std::min(first.value_or(r.start), r.start);
      last = std::max(last.value_or(r.end), r.end);
    }
  }
  FoundWindow result;
  result.station = query.station;
  result.window =
      times::TimeSpan{query.from.value_or(first.value_or(0)), query.to.value_or(last.value_or(0))};
  // A copy holds what its disk holds: it is named beside it, not counted again.
  std::set<std::string> labels;
  for (const catalog::CataloguedDisk& disk : found) labels.insert(disk.entry.label);
  std::map<std::string, std::vector<std::string>> copiesOf;
  for (const catalog::CataloguedDisk& disk : found) {
    const std::optional<std::string>& original = disk.entry.copyOf;
    if (original && labels.count(*original) != 0) copiesOf[*original].push_back(disk.entry.label);
  }
  for (const catalog::CataloguedDisk& disk : found) {
    const std::optional<std::string>& original = disk.entry.copyOf;
    if (original && labels.count(*original) != 0) continue;
    for (const catalog::CataloguedFile& file : disk.files) {
      const survey::FileRecord& r = file.record;
      if (r.station != query.station || !r.usable) continue;
      const times::TimeSpan part{std::max(r.start, result.window.start),
                                 std::min(r.end, result.window.end)};
      if (part.seconds() > 0) result.parts.push_back(FoundPart{&disk, &file, part});
    }
  }
  std::stable_sort(
      result.parts.begin(), result.parts.end(),
      [](const FoundPart& a, const FoundPart& b) { return a.part.start < b.part.start; });
  std::map<const catalog::CataloguedDisk*, std::size_t> diskIndex;
  std::vector<times::TimeSpan> spans;
  for (const FoundPart& part : result.parts) {
    spans.push_back(part.part);
    const auto [at, added] = diskIndex.emplace(part.disk, result.disks.size());
    if (added) {
      result.disks.push_back(
          DiskToFetch{part.disk, part.part, 0, copiesOf[part.disk->entry.label]});
    }
    DiskToFetch& disk = result.disks[at->second];
    disk.part.start = std::min(disk.part.start, part.part.start);
    disk.part.end = std::max(disk.part.end, part.part.end);
    ++disk.files;
  }
  result.gaps = times::gapsIn(times::unionOf(std::move(spans)), result.window, 0);
  return result;
}

namespace {

std::string spanText(const times::TimeSpan& span) {
  return times::isoTime(span.start) + " .. " + times::isoTime(span.end);
}

// "disk042", or "disk042, or its copy disk042b" (or its copies ..., ...).
std::string withCopies(const DiskToFetch& disk) {
  std::string text = base::printableName(disk.disk->entry.label);
  for (std::size_t i = 0; i < disk.copies.size(); ++i) {
    if (i == 0) text += disk.copies.size() == 1 ? ", or its copy " : ", or its copies ";
    text += (i == 0 ? "" : ", ") + base::printableName(disk.copies[i]);
  }
  return text;
}

times::TimeSpan fileSpan(const FoundPart& part) {
  return {part.file->record.start, part.file->record.end};
}

std::string textReport(const FoundWindow& found) {
  std::string text = "Station " + base::printableName(found.station) + ", " +
                     spanText(found.window) + ": " +
                     base::counted(static_cast<int64_t>(found.parts.size()), "file") + " on " +
                     base::counted(static_cast<int64_t>(found.disks.size()), "disk") + ", " +
                     base::counted(static_cast<int64_t>(found.gaps.size()), "gap") + "\n";
  text += "\nDisks to fetch: " + std::to_string(found.disks.size()) + "\n";
  for (const DiskToFetch& disk : found.disks) {
    text += "  " + withCopies(disk) + "  " + spanText(disk.part) + "  " +
            base::counted(disk.files, "file") + "  (" +
            base::printableName(disk.disk->entry.source) + ")\n";
  }
  text += "\nFiles: " + std::to_string(found.parts.size()) + "\n";
  for (const FoundPart& part : found.parts) {
    const times::TimeSpan whole = fileSpan(part);
    text += "  " + spanText(whole) + "  " + base::printableName(part.disk->entry.label) + "  " +
            base::printableName(part.file->record.path);
    if (part.part != whole) text += "  (in the window " + spanText(part.part) + ")";
    text += "\n";
    for (const times::TimeSpan& lost : part.file->lost)
      text += "    lost: " + spanText(lost) + " could not be read from the disk\n";
  }
  text += "\nGaps: " + std::to_string(found.gaps.size()) + "\n";
  for (const times::TimeSpan& gap : found.gaps)
    text += "  " + spanText(gap) + "  " + times::durationText(gap.seconds()) + "\n";
  return text;
}

// A row; a file's carries its own span beside the part in the window.
std::string csvRow(const char* kind, const std::string& disk, const std::string& path,
                   const times::TimeSpan& span, const std::vector<std::string>& copies = {},
                   const std::optional<times::TimeSpan>& file = std::nullopt) {
  return std::string(kind) + "|" + summary::csvField(disk) + "|" + summary::csvField(path) + "|" +
         times::isoTime(span.start) + "|" + times::isoTime(span.end) + "|" +
         base::formatText("%" PRId64, span.seconds()) + "|" + summary::csvList(copies) + "|" +
         (file ? times::isoTime(file->start) + "|" + times::isoTime(file->end) : "|") + "\r\n";
}

std::string csvReport(const FoundWindow& found) {
  std::string csv = "kind|disk|path|start|end|seconds|copies|file_start|file_end\r\n";
  for (const DiskToFetch& disk : found.disks) {
    csv += csvRow("disk", disk.disk->entry.label, disk.disk->entry.source, disk.part, disk.copies);
  }
  for (const FoundPart& part : found.parts) {
    csv += csvRow("file", part.disk->entry.label, part.file->record.path, part.part, {},
                  fileSpan(part));
    for (const times::TimeSpan& lost : part.file->lost)
      csv += csvRow("lost", part.disk->entry.label, part.file->record.path, lost);
  }
  for (const times::TimeSpan& gap : found.gaps) csv += csvRow("gap", "", "", gap);
  return csv;
}

std::string jsonReport(const FoundWindow& found) {
  using Json = nlohmann::ordered_json;
  const auto span = [](const times::TimeSpan& s) {
    return Json{{"start", times::isoTime(s.start)},
                {"end", times::isoTime(s.end)},
                {"seconds", s.seconds()}};
  };
  Json disks = Json::array(), files = Json::array(), gaps = Json::array();
  for (const DiskToFetch& disk : found.disks) {
    Json item = {{"label", disk.disk->entry.label},
                 {"source", disk.disk->entry.source},
                 {"files", disk.files},
                 {"copies", disk.copies}};
    item.update(span(disk.part));
    disks.push_back(item);
  }
  for (const FoundPart& part : found.parts) {
    Json item = {{"disk", part.disk->entry.label}, {"path", part.file->record.path}};
    item.update(span(part.part));
    item["fileStart"] = times::isoTime(part.file->record.start);
    item["fileEnd"] = times::isoTime(part.file->record.end);
    if (!part.file->lost.empty()) {
      Json lost = Json::array();
      for (const times::TimeSpan& l : part.file->lost) lost.push_back(span(l));
      item["lost"] = lost;
    }
    files.push_back(item);
  }
  for (const times::TimeSpan& gap : found.gaps) gaps.push_back(span(gap));
  const Json report = {{"station", found.station},
                       {"window", span(found.window)},
                       {"disks", disks},
                       {"files", files},
                       {"gaps", gaps}};
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

const std::vector<ReportFormat<FoundWindow>>& findFormats() {
  static const std::vector<ReportFormat<FoundWindow>> formats = {
      {"text", textReport}, {"csv", csvReport}, {"json", jsonReport}};
  return formats;
}

}  // namespace queries
