#include <algorithm>
#include <cmath>
#include <map>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "summary/gap_classes.h"
#include "summary/summary_formats.h"
#include "times/duration.h"
#include "times/iso_time.h"

namespace summary {

namespace {

constexpr double kWidth = 1200;
constexpr double kLabelWidth = 180;
constexpr double kPlotWidth = kWidth - kLabelWidth - 20;
constexpr double kTop = 50;  // title and legend above the rows

const char* const kCoveredColour = "#3b7dd8";
const char* const kUnusableColour = "#d62728";
const char* const kOverlapColour = "#e377c2";
const char* const kEventColour = "#6a3d9a";
const char* const kNeighbourColour = "#1f4e99";  // every other disk of a grouped row

constexpr std::size_t kMaxDiskRows = 40;  // past it, disks are grouped
constexpr double kMinRowHeight = 12;      // a disk row's, its name still legible
constexpr double kStationRowHeight = 28;  // covered and gaps bands of 10 px
constexpr std::size_t kMostNamed = 20;    // unusable files named in one tooltip
constexpr double kMinOverlapWidth = 3;

// Text safe inside an XML element or attribute; control bytes are written as
// "\xNN" first, since XML cannot hold them.
std::string xmlText(std::string_view text) {
  std::string escaped;
  for (const char c : base::printableName(text)) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// Lines of a tooltip: each escaped, joined by a line break the SVG keeps.
std::string titleLines(const std::vector<std::string>& lines) {
  std::string title;
  for (const std::string& line : lines) title += (title.empty() ? "" : "&#10;") + xmlText(line);
  return title;
}

// Maps times to x positions across the plot.
class TimeAxis {
 public:
  TimeAxis(int64_t start, int64_t end) : start_(start), end_(std::max(end, start + 1)) {}
  double x(int64_t time) const {
    return kLabelWidth +
           kPlotWidth * static_cast<double>(time - start_) / static_cast<double>(end_ - start_);
  }
  double secondsPerPixel() const { return static_cast<double>(end_ - start_) / kPlotWidth; }
  int64_t start() const { return start_; }
  int64_t end() const { return end_; }

 private:
  int64_t start_, end_;
};

// Ordered spans with those less than a pixel apart drawn as one.
std::vector<times::TimeSpan> mergedBelowPixel(const std::vector<times::TimeSpan>& spans,
                                              const TimeAxis& axis) {
  std::vector<times::TimeSpan> merged;
  for (const times::TimeSpan& span : spans) {
    if (!merged.empty() &&
        static_cast<double>(span.start - merged.back().end) < axis.secondsPerPixel()) {
      merged.back().end = std::max(merged.back().end, span.end);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

// One bar per span (those less than a pixel apart as one), each at least
// minWidth wide, its tooltip "WHAT START .. END".
std::string bars(const std::vector<times::TimeSpan>& spans, const TimeAxis& axis, double y,
                 double height, const char* colour, std::string_view what, double minWidth = 1.0) {
  std::string svg;
  const std::string title = xmlText(what);
  for (const times::TimeSpan& span : mergedBelowPixel(spans, axis)) {
    double x = axis.x(span.start), width = axis.x(span.end) - x;
    if (width < minWidth) {
      x -= (minWidth - width) / 2;
      width = minWidth;
    }
    svg += base::formatText(
        "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"%s\"><title>%s %s .. "
        "%s</title></rect>\n",
        x, y, width, height, colour, title.c_str(), times::isoTime(span.start).c_str(),
        times::isoTime(span.end).c_str());
  }
  return svg;
}

// Text of at most maxCharacters, cut from the left with an ellipsis: the end
// of a disk's path is what tells it apart.
std::string shortenedFromLeft(const std::string& text, std::size_t maxCharacters) {
  std::vector<std::size_t> starts;  // where each UTF-8 character begins
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  if (starts.size() <= maxCharacters || maxCharacters < 2) return text;
  return "\u2026" + text.substr(starts[starts.size() - (maxCharacters - 1)]);
}

std::string label(const std::string& text, double y, double rowHeight) {
  if (rowHeight < 8) return "";  // too many rows to name each
  const double fontSize = std::min(12.0, rowHeight - 2);
  // About 0.6 of the font size per character of a sans-serif face.
  const auto fits = static_cast<std::size_t>((kLabelWidth - 10) / (fontSize * 0.6));
  return base::formatText(
      "<text x=\"%.1f\" y=\"%.1f\" font-size=\"%.0f\" "
      "text-anchor=\"end\">%s<title>%s</title></text>\n",
      kLabelWidth - 6, y + rowHeight * 0.75, fontSize,
      xmlText(shortenedFromLeft(text, fits)).c_str(), xmlText(text).c_str());
}

// Tick steps from a second to a year; the first that gives at most ten ticks.
int64_t tickStep(const TimeAxis& axis) {
  static constexpr int64_t kSteps[] = {1,     10,     60,     600,     3600,    6 * 3600,
                                       86400, 172800, 604800, 2592000, 7776000, 31536000};
  for (const int64_t step : kSteps) {
    if ((axis.end() - axis.start()) / step <= 10) return step;
  }
  return (axis.end() - axis.start()) / 10;
}

std::string timeAxis(const TimeAxis& axis, double y) {
  const int64_t step = tickStep(axis);
  std::string svg =
      base::formatText("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#444\"/>\n",
                       kLabelWidth, y, kLabelWidth + kPlotWidth, y);
  int64_t tick = axis.start() - ((axis.start() % step) + step) % step;
  if (tick < axis.start()) tick += step;
  for (; tick <= axis.end(); tick += step) {
    const std::string when = times::isoTime(tick);
    const std::string text = step >= 86400 ? when.substr(0, 10) : when.substr(0, 16);
    svg += base::formatText(
        "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#444\"/>\n"
        "<text x=\"%.1f\" y=\"%.1f\" font-size=\"10\" text-anchor=\"middle\">%s</text>\n",
        axis.x(tick), y, axis.x(tick), y + 5, axis.x(tick), y + 17, text.c_str());
  }
  return svg;
}

std::string legend() {
  std::vector<std::pair<const char*, const char*>> entries = {{kCoveredColour, "covered"}};
  for (const GapClass& gapClass : kGapClasses) entries.emplace_back(gapClass.colour, gapClass.name);
  entries.insert(entries.end(), {{kOverlapColour, "overlap"}, {kEventColour, "event"}});
  std::string svg;
  double x = kLabelWidth;
  for (const auto& [colour, name] : entries) {
    svg += base::formatText(
        "<rect x=\"%.1f\" y=\"30\" width=\"12\" height=\"10\" fill=\"%s\"/>"
        "<text x=\"%.1f\" y=\"39\" font-size=\"11\">%s</text>\n",
        x, colour, x + 16, name);
    x += 16 + 6.5 * static_cast<double>(std::string_view(name).size()) + 14;
  }
  return svg;
}

std::string eventMarkers(const StationSummary& station, const TimeAxis& axis, double y) {
  std::map<long, std::vector<const StationEvent*>> byPixel;  // one marker per pixel
  for (const StationEvent& event : station.events) {
    if (event.time && *event.time >= axis.start() && *event.time <= axis.end()) {
      byPixel[std::lround(axis.x(*event.time))].push_back(&event);
    }
  }
  std::string svg;
  for (const auto& [pixel, events] : byPixel) {
    std::vector<std::string> lines;
    for (const StationEvent* event : events) {
      lines.push_back(std::string(eventKindName(event->kind)) + " " + times::isoTime(*event->time) +
                      " " + event->file.label());
    }
    svg +=
        base::formatText("<path d=\"M%ld %.1f l-4 -7 h8 z\" fill=\"%s\"><title>%s</title></path>\n",
                         pixel, y, kEventColour, titleLines(lines).c_str());
  }
  return svg;
}

// The rows the disks are drawn in: a row per disk, or, past kMaxDiskRows, a
// row per month of the disks' first times (per year when the months are still
// too many), each bar naming its disk.
struct DiskRow {
  std::string name;
  std::vector<const DiskSummary*> disks;
};

std::vector<DiskRow> diskRows(const CoverageSummary& summary) {
  std::vector<DiskRow> rows;
  if (summary.disks.size() <= kMaxDiskRows) {
    for (const DiskSummary& disk : summary.disks) rows.push_back({disk.record.name, {&disk}});
    return rows;
  }
  for (const std::size_t period : {7, 4}) {  // "YYYY-MM", then "YYYY"
    std::map<std::string, std::vector<const DiskSummary*>> groups;
    for (const DiskSummary& disk : summary.disks) {
      groups[disk.first ? times::isoTime(*disk.first).substr(0, period) : "no time"].push_back(
          &disk);
    }
    if (groups.size() > kMaxDiskRows && period == 7) continue;
    for (auto& [key, disks] : groups) {
      rows.push_back({key + " (" + base::counted(static_cast<int64_t>(disks.size()), "disk") + ")",
                      std::move(disks)});
    }
    break;
  }
  return rows;
}

// A red cross after a row whose disks hold unusable files, naming them.
std::string unusableMarker(const DiskRow& row, double y, double rowHeight) {
  std::vector<std::string> lines;
  std::size_t count = 0;
  for (const DiskSummary* disk : row.disks) {
    for (const FileRecord& file : disk->record.files) {
      if (file.usable) continue;
      if (++count <= kMostNamed) lines.push_back(FileName{disk->record.name, file.path}.label());
    }
  }
  if (count == 0) return "";
  if (count > kMostNamed) lines.push_back("and " + std::to_string(count - kMostNamed) + " more");
  lines.insert(lines.begin(), std::to_string(count) + " unusable file" + (count == 1 ? ":" : "s:"));
  return base::formatText(
      "<text x=\"%.1f\" y=\"%.1f\" font-size=\"%.0f\" fill=\"%s\">\u2716<title>%s</title></text>\n",
      kLabelWidth + kPlotWidth + 4, y + rowHeight * 0.8, std::clamp(rowHeight, 6.0, 12.0),
      kUnusableColour, titleLines(lines).c_str());
}

// A station's merged row at y: its covered time over its gaps, its overlaps
// and its events.
std::string stationRow(const StationSummary& station, const TimeAxis& axis, double y,
                       double height) {
  std::string svg = label("merged " + station.station, y, height);
  const std::string& name = station.station;
  const double bandHeight = (height - 8) / 2;
  svg +=
      bars(spansOf(station.timespans), axis, y + 4, bandHeight, kCoveredColour, name + " covered");
  // Gaps under the covered time, shortest first, so that a row full of short
  // gaps still shows its coverage and the long gaps stand out.
  for (const GapClass& gapClass : kGapClasses) {
    std::vector<times::TimeSpan> gaps;
    for (const SpanWithDisks& gap : station.gaps) {
      if (&gapClassOf(gap.span.seconds()) == &gapClass) gaps.push_back(gap.span);
    }
    svg += bars(gaps, axis, y + 4 + bandHeight, bandHeight, gapClass.colour, name + " gap");
  }
  svg += bars(spansOf(station.overlaps), axis, y + 4, bandHeight * 0.6, kOverlapColour,
              name + " overlap", kMinOverlapWidth);
  return svg + eventMarkers(station, axis, y + 3);
}

}  // namespace

std::string timelineSvg(const CoverageSummary& summary) {
  int64_t start = INT64_MAX, end = INT64_MIN;
  for (const StationSummary& station : summary.stations) {
    if (station.window.seconds() <= 0 && !station.firstStart) continue;
    start = std::min(start, station.window.start);
    end = std::max(end, station.window.end);
  }
  if (start > end) start = end = 0;
  const TimeAxis axis(start, end);
  const std::vector<DiskRow> disks = diskRows(summary);
  const std::size_t rows = disks.size() + summary.stations.size();
  // Rows share 800 px while they are few; past that each keeps a height its
  // name and marks read at, and the picture grows.
  const double rowHeight =
      std::clamp(800.0 / static_cast<double>(std::max<std::size_t>(rows, 1)), kMinRowHeight, 18.0);
  const double stationHeight = kStationRowHeight;
  const double height = kTop + rowHeight * static_cast<double>(disks.size()) +
                        (stationHeight + 10) * static_cast<double>(summary.stations.size()) + 40;

  std::string svg = base::formatText(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
      "viewBox=\"0 0 %.0f %.0f\" font-family=\"sans-serif\">\n"
      "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n"
      "<text x=\"10\" y=\"20\" font-size=\"14\">cdcoverage: %s disks, %s .. %s, gaps longer "
      "than %s shown (--gap-tolerance)</text>\n",
      kWidth, height, kWidth, height, std::to_string(summary.disks.size()).c_str(),
      times::isoTime(axis.start()).c_str(), times::isoTime(axis.end()).c_str(),
      times::durationText(summary.options.gapToleranceSeconds).c_str());
  svg += legend();
  double y = kTop;
  for (const DiskRow& row : disks) {
    svg += label(row.name, y, rowHeight);
    for (std::size_t k = 0; k < row.disks.size(); ++k) {
      svg += bars(row.disks[k]->coveredSpans(), axis, y + 1, std::max(1.0, rowHeight - 2),
                  k % 2 == 0 ? kCoveredColour : kNeighbourColour,
                  row.disks[k]->record.name + ": covered");
    }
    svg += unusableMarker(row, y, rowHeight);
    y += rowHeight;
  }
  for (const StationSummary& station : summary.stations) {
    y += 10;
    svg += stationRow(station, axis, y, stationHeight);
    y += stationHeight;
  }
  svg += timeAxis(axis, y + 8);
  return svg + "</svg>\n";
}

}  // namespace summary
