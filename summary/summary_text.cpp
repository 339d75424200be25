#include "base/printable_name.h"
#include "base/text_format.h"
#include "summary/daily_availability.h"
#include "summary/summary_formats.h"
#include "times/duration.h"
#include "times/iso_time.h"

namespace summary {

namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + base::printableName(name);
  return text;
}

std::string spanLine(const times::TimeSpan& span, const std::string& tail) {
  return "    " + times::isoTime(span.start) + " .. " + times::isoTime(span.end) + "  " +
         times::durationText(span.seconds()) + (tail.empty() ? "" : "  " + tail) + "\n";
}

std::string fileText(const FileName& file) { return base::printableName(file.label()); }

// An overlap's files: named when they are few, counted with their disks when
// they are many (the JSON and CSV forms name every one).
std::string filesOf(const OverlapRegion& region) {
  constexpr std::size_t kNamedFiles = 4;
  if (region.files.size() > kNamedFiles) {
    return base::counted(static_cast<int64_t>(region.files.size()), "file") + " on " +
           joined(region.disks);
  }
  std::string files;
  for (const FileName& file : region.files) files += (files.empty() ? "" : ", ") + fileText(file);
  return files;
}

std::string eventLine(const StationEvent& event) {
  std::string line =
      "    " + (event.time ? times::isoTime(*event.time) : std::string(19, ' ')) + "  ";
  line += std::string(eventKindName(event.kind)) + ": ";
  if (event.change) {
    const StationEvent::Change& change = *event.change;
    line += change.field + " " + base::printableName(change.from) + " -> " +
            base::printableName(change.to) + " in " + fileText(event.file) +
            " (before: " + fileText(change.previousFile) + ")";
  } else if (event.kind == EventKind::kClock) {
    line += base::printableName(event.message) + " in " + fileText(event.file);
  } else {
    line += fileText(event.file);
  }
  return line + "\n";
}

std::string optionalTime(const std::optional<int64_t>& time) {
  return time ? times::isoTime(*time) : std::string("none");
}

std::string stationText(const StationSummary& station) {
  std::string text = "Station " + base::printableName(station.station) + "\n";
  text += "  first start  " + optionalTime(station.firstStart) + "\n";
  text += "  last end     " + optionalTime(station.lastEnd) + "\n";
  text += "  span         " + times::durationText(station.spanSeconds) + "\n";
  text += base::formatText("  real data    %s, %.2f %% of %s .. %s\n",
                           times::durationText(station.realDataSeconds).c_str(),
                           station.coveragePercent, times::isoTime(station.window.start).c_str(),
                           times::isoTime(station.window.end).c_str());
  text += "  timespans: " + std::to_string(station.timespans.size()) + "\n";
  for (const SpanWithDisks& span : station.timespans)
    text += spanLine(span.span, joined(span.disks));
  text += "  gaps: " + std::to_string(station.gaps.size()) + "\n";
  for (const SpanWithDisks& gap : station.gaps) text += spanLine(gap.span, joined(gap.disks));
  text += "  overlaps: " + std::to_string(station.overlaps.size()) + "\n";
  for (const OverlapRegion& region : station.overlaps)
    text += spanLine(region.span, filesOf(region));
  text += "  overlapping file pairs: " + std::to_string(station.overlapPairs.size()) + "\n";
  for (const OverlapPair& pair : station.overlapPairs) {
    text += spanLine(pair.span, fileText(pair.first) + " and " + fileText(pair.second));
  }
  text += "  events: " + std::to_string(station.events.size()) + "\n";
  for (const StationEvent& event : station.events) text += eventLine(event);
  return text;
}

}  // namespace

std::string summaryText(const CoverageSummary& summary) {
  int64_t files = 0;
  for (const DiskSummary& disk : summary.disks)
    files += static_cast<int64_t>(disk.record.files.size());
  std::string text =
      "cdcoverage: " + base::counted(static_cast<int64_t>(summary.disks.size()), "disk") + ", " +
      base::counted(files, "file") + ", gap tolerance " +
      std::to_string(summary.options.gapToleranceSeconds) + " s\n";
  for (const StationSummary& station : summary.stations) text += "\n" + stationText(station);
  text += "\nDisks: " + std::to_string(summary.disks.size()) + "\n";
  for (const DiskSummary& disk : summary.disks) {
    text += "  " + base::printableName(disk.record.name) + "  " +
            base::counted(static_cast<int64_t>(disk.record.files.size()), "file") + "  " +
            optionalTime(disk.first) + " .. " + optionalTime(disk.last) + "\n";
  }
  for (const DiskJunction& gap : summary.diskGaps) {
    text += "  gap between " + base::printableName(gap.before) + " and " +
            base::printableName(gap.after) + ":\n" + spanLine(gap.span, "");
  }
  for (const DiskJunction& overlap : summary.diskOverlaps) {
    text += "  overlap of " + base::printableName(overlap.before) + " and " +
            base::printableName(overlap.after) + ":\n" + spanLine(overlap.span, "");
  }
  return text;
}

std::string dailyText(const CoverageSummary& summary) {
  const std::vector<DayAvailability> days = dailyAvailability(summary);
  std::size_t stationWidth = 7;  // "STATION"
  for (const DayAvailability& day : days)
    stationWidth = std::max(stationWidth, base::printableName(day.station).size());
  const int width = static_cast<int>(stationWidth);
  std::string text = base::formatText(
      "Daily availability (UTC days; gaps longer than %s counted)\n"
      "%-*s  %-10s  %8s  %5s  %15s  %8s  %15s\n",
      times::durationText(summary.options.gapToleranceSeconds).c_str(), width, "STATION", "DAY",
      "PERCENT", "GAPS", "LONGEST GAP", "OVERLAPS", "LONGEST OVERLAP");
  for (const DayAvailability& day : days) {
    text += base::formatText(
        "%-*s  %s  %8.3f  %5d  %15s  %8d  %15s\n", width, base::printableName(day.station).c_str(),
        times::isoTime(day.day).substr(0, 10).c_str(), day.percent(), day.gapCount,
        times::durationText(day.longestGapSeconds).c_str(), day.overlapCount,
        times::durationText(day.longestOverlapSeconds).c_str());
  }
  return text;
}

}  // namespace summary
