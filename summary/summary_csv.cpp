#include <cinttypes>

#include "base/text_format.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace summary {

namespace {

// A field as RFC 4180 writes it: quoted, quotes doubled, when it holds the
// delimiter, a quote or a line break.
std::string csvField(const std::string& text) {
  if (text.find_first_of("|\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string diskList(const std::vector<std::string>& disks) {
  std::string text;
  for (const std::string& disk : disks) text += (text.empty() ? "" : ",") + disk;
  return text;
}

std::string row(const char* kind, const std::string& station, const times::TimeSpan& span,
                const std::vector<std::string>& disks) {
  return std::string(kind) + "|" + csvField(station) + "|" + times::isoTime(span.start) + "|" +
         times::isoTime(span.end) + "|" + base::formatText("%" PRId64, span.seconds()) + "|" +
         csvField(diskList(disks)) + "\r\n";
}

}  // namespace

std::string summaryCsv(const CoverageSummary& summary) {
  std::string csv = "kind|station|start|end|seconds|disk\r\n";
  for (const StationSummary& station : summary.stations) {
    for (const SpanWithDisks& span : station.timespans) {
      csv += row("timespan", station.station, span.span, span.disks);
    }
    for (const SpanWithDisks& gap : station.gaps)
      csv += row("gap", station.station, gap.span, gap.disks);
    for (const OverlapPair& pair : station.overlapPairs) {
      std::vector<std::string> disks = {pair.first.disk};
      if (pair.second.disk != pair.first.disk) disks.push_back(pair.second.disk);
      csv += row("overlap", station.station, pair.span, disks);
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

}  // namespace summary
