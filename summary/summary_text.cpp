#include <cinttypes>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "times/iso_time.h"
#include "summary/summary_formats.h"

namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + printableName(name);
  return text;
}

std::string spanLine(const TimeSpan& span, const std::string& tail) {
  return "    " + isoTime(span.start) + " .. " + isoTime(span.end) + "  " +
         durationText(span.seconds()) + (tail.empty() ? "" : "  " + tail) + "\n";
}

std::string fileText(const FileName& file) { return printableName(file.path); }

std::string eventLine(const StationEvent& event) {
  std::string line = "    " + (event.time ? isoTime(*event.time) : std::string(19, ' ')) + "  ";
  if (!event.field.empty()) {
    line += event.kind + ": " + event.field + " " + printableName(event.from) + " -> " +
            printableName(event.to) + " in " + fileText(event.file) +
            " (before: " + fileText(*event.previousFile) + ")";
  } else if (event.kind == "clock") {
    line += "clock: " + printableName(event.message) + " in " + fileText(event.file);
  } else {
    line += event.kind + ": " + fileText(event.file);
  }
  return line + "\n";
}

std::string optionalTime(const std::optional<int64_t>& time) {
  return time ? isoTime(*time) : std::string("none");
}

std::string stationText(const StationSummary& station) {
  std::string text = "Station " + printableName(station.station) + "\n";
  text += "  first start  " + optionalTime(station.firstStart) + "\n";
  text += "  last end     " + optionalTime(station.lastEnd) + "\n";
  text += "  span         " + durationText(station.spanSeconds) + "\n";
  text += formatText("  real data    %s, %.2f %% of %s .. %s\n",
                     durationText(station.realDataSeconds).c_str(), station.coveragePercent,
                     isoTime(station.window.start).c_str(), isoTime(station.window.end).c_str());
  text += "  timespans: " + std::to_string(station.timespans.size()) + "\n";
  for (std::size_t i = 0; i < station.timespans.size(); ++i) {
    text += spanLine(station.timespans[i], joined(station.timespanDisks[i]));
  }
  text += "  gaps: " + std::to_string(station.gaps.size()) + "\n";
  for (std::size_t i = 0; i < station.gaps.size(); ++i) {
    text += spanLine(station.gaps[i], joined(station.gapDisks[i]));
  }
  text += "  overlaps: " + std::to_string(station.overlapPairs.size()) + "\n";
  for (const OverlapPair& pair : station.overlapPairs) {
    text += spanLine(pair.span, fileText(pair.first) + " and " + fileText(pair.second));
  }
  text += "  events: " + std::to_string(station.events.size()) + "\n";
  for (const StationEvent& event : station.events) text += eventLine(event);
  return text;
}

}  // namespace

std::string durationText(int64_t seconds) {
  const char* sign = seconds < 0 ? "-" : "";
  const uint64_t magnitude = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : seconds;
  return formatText("%s%" PRIu64 "d %" PRIu64 "h %" PRIu64 "m %" PRIu64 "s", sign,
                    magnitude / 86400, magnitude / 3600 % 24, magnitude / 60 % 60, magnitude % 60);
}

std::string summaryText(const CoverageSummary& summary) {
  int64_t files = 0;
  for (const DiskSummary& disk : summary.disks) files += disk.fileCount;
  std::string text = "cdcoverage: " + std::to_string(summary.disks.size()) + " disks, " +
                     std::to_string(files) + " files, gap tolerance " +
                     std::to_string(summary.options.gapToleranceSeconds) + " s\n";
  for (const StationSummary& station : summary.stations) text += "\n" + stationText(station);
  text += "\nDisks: " + std::to_string(summary.disks.size()) + "\n";
  for (const DiskSummary& disk : summary.disks) {
    text += "  " + printableName(disk.disk) + formatText("  %d files  ", disk.fileCount) +
            optionalTime(disk.first) + " .. " + optionalTime(disk.last) + "\n";
  }
  for (const DiskJunction& gap : summary.diskGaps) {
    text += "  gap between " + printableName(gap.before) + " and " + printableName(gap.after) +
            ":\n" + spanLine(gap.span, "");
  }
  for (const DiskJunction& overlap : summary.diskOverlaps) {
    text += "  overlap of " + printableName(overlap.before) + " and " +
            printableName(overlap.after) + ":\n" + spanLine(overlap.span, "");
  }
  return text;
}
