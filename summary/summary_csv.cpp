#include <cinttypes>

#include "base/text_format.h"
#include "summary/daily_availability.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace summary {

std::string csvField(const std::string& text) {
  if (text.find_first_of("|\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string csvList(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += ',';
    for (const char c : names[i]) {
      if (c == ',' || c == '\\') text += '\\';
      text += c;
    }
  }
  return csvField(text);
}

namespace {

std::vector<std::string> labelsOf(const std::vector<FileName>& files) {
  std::vector<std::string> paths;
  for (const FileName& file : files) paths.push_back(file.label());
  return paths;
}

std::string row(const char* kind, const std::string& station, const times::TimeSpan& span,
                const std::vector<std::string>& disks, const std::vector<FileName>& files = {}) {
  return std::string(kind) + "|" + csvField(station) + "|" + times::isoTime(span.start) + "|" +
         times::isoTime(span.end) + "|" + base::formatText("%" PRId64, span.seconds()) + "|" +
         csvList(disks) + "|" + csvList(labelsOf(files)) + "\r\n";
}

}  // namespace

std::string summaryCsv(const CoverageSummary& summary) {
  std::string csv = "kind|station|start|end|seconds|disk|files\r\n";
  for (const StationSummary& station : summary.stations) {
    for (const SpanWithDisks& span : station.timespans) {
      csv += row("timespan", station.station, span.span, span.disks);
    }
    for (const SpanWithDisks& gap : station.gaps)
      csv += row("gap", station.station, gap.span, gap.disks);
    for (const OverlapRegion& region : station.overlaps)
      csv += row("overlap", station.station, region.span, region.disks, region.files);
    for (const OverlapPair& pair : station.overlapPairs) {
      std::vector<std::string> disks = {pair.first.disk};
      if (pair.second.disk != pair.first.disk) disks.push_back(pair.second.disk);
      csv += row("overlap-pair", station.station, pair.span, disks, {pair.first, pair.second});
    }
  }
  for (const DiskJunction& gap : summary.diskGaps) {
    csv += row("disk-gap", "", gap.span, {gap.before, gap.after});
  }
  for (const DiskJunction& overlap : summary.diskOverlaps) {
    csv += row("disk-overlap", "", overlap.span, {overlap.before, overlap.after});
  }
  return csv;
}

std::string dailyCsv(const CoverageSummary& summary) {
  std::string csv =
      "station|day|percent|covered_seconds|gaps|longest_gap_seconds|overlaps|"
      "longest_overlap_seconds|gap_tolerance_seconds\r\n";
  for (const DayAvailability& day : dailyAvailability(summary)) {
    csv += csvField(day.station) + "|" + times::isoTime(day.day).substr(0, 10) +
           base::formatText("|%.3f|%" PRId64 "|%d|%" PRId64 "|%d|%" PRId64 "|%" PRId64 "\r\n",
                            day.percent(), day.coveredSeconds, day.gapCount, day.longestGapSeconds,
                            day.overlapCount, day.longestOverlapSeconds,
                            summary.options.gapToleranceSeconds);
  }
  return csv;
}

}  // namespace summary
