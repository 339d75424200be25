#include <algorithm>
#include <cmath>
#include <map>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace summary {

namespace {

constexpr double kWidth = 1200;
constexpr double kLabelWidth = 180;
constexpr double kPlotWidth = kWidth - kLabelWidth - 20;
constexpr double kTop = 50;  // title and legend above the rows

const char* const kCoveredColour = "#3b7dd8";
const char* const kGapColour = "#d62728";
const char* const kOverlapColour = "#ff9f1c";
const char* const kEventColour = "#6a3d9a";

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

std::string bars(const std::vector<times::TimeSpan>& spans, const TimeAxis& axis, double y,
                 double height, const char* colour, const char* what) {
  std::string svg;
  for (const times::TimeSpan& span : mergedBelowPixel(spans, axis)) {
    const double x = axis.x(span.start);
    svg += base::formatText(
        "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"%s\"><title>%s %s .. "
        "%s</title></rect>\n",
        x, y, std::max(1.0, axis.x(span.end) - x), height, colour, what,
        times::isoTime(span.start).c_str(), times::isoTime(span.end).c_str());
  }
  return svg;
}

std::string label(const std::string& text, double y, double rowHeight) {
  if (rowHeight < 8) return "";  // too many rows to name each
  return base::formatText(
      "<text x=\"%.1f\" y=\"%.1f\" font-size=\"%.0f\" text-anchor=\"end\">%s</text>\n",
      kLabelWidth - 6, y + rowHeight * 0.75, std::min(12.0, rowHeight - 2), xmlText(text).c_str());
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
  std::string svg;
  const std::pair<const char*, const char*> entries[] = {{kCoveredColour, "covered"},
                                                         {kGapColour, "gap"},
                                                         {kOverlapColour, "overlap"},
                                                         {kEventColour, "event"}};
  double x = kLabelWidth;
  for (const auto& [colour, name] : entries) {
    svg += base::formatText(
        "<rect x=\"%.1f\" y=\"30\" width=\"12\" height=\"10\" fill=\"%s\"/>"
        "<text x=\"%.1f\" y=\"39\" font-size=\"11\">%s</text>\n",
        x, colour, x + 16, name);
    x += 90;
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
    std::string title;
    for (const StationEvent* event : events) {
      title += std::string(eventKindName(event->kind)) + " " + times::isoTime(*event->time) + " " +
               event->file.path + "\n";
    }
    svg +=
        base::formatText("<path d=\"M%ld %.1f l-4 -7 h8 z\" fill=\"%s\"><title>%s</title></path>\n",
                         pixel, y, kEventColour, xmlText(title).c_str());
  }
  return svg;
}

// Each disk's covered spans: the union of its files.
std::map<std::string, std::vector<times::TimeSpan>> diskSpans(const CoverageSummary& summary) {
  std::map<std::string, std::vector<times::TimeSpan>> spans;
  for (const DiskSummary& disk : summary.disks) {
    std::vector<times::TimeSpan>& list = spans[disk.record.name];
    for (const FileRecord& file : disk.record.files) {
      if (file.usable) list.push_back(times::TimeSpan{file.start, file.end});
    }
  }
  for (auto& [name, list] : spans) list = times::unionOf(std::move(list));
  return spans;
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
  const std::size_t rows = summary.disks.size() + summary.stations.size();
  const double rowHeight =
      std::clamp(800.0 / static_cast<double>(std::max<std::size_t>(rows, 1)), 3.0, 18.0);
  const double stationHeight = std::max(rowHeight, 18.0);
  const double height = kTop + rowHeight * static_cast<double>(summary.disks.size()) +
                        (stationHeight + 10) * static_cast<double>(summary.stations.size()) + 40;

  std::string svg = base::formatText(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
      "viewBox=\"0 0 %.0f %.0f\" font-family=\"sans-serif\">\n"
      "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n"
      "<text x=\"10\" y=\"20\" font-size=\"14\">cdcoverage: %s disks, %s .. %s</text>\n",
      kWidth, height, kWidth, height, std::to_string(summary.disks.size()).c_str(),
      times::isoTime(axis.start()).c_str(), times::isoTime(axis.end()).c_str());
  svg += legend();
  double y = kTop;
  const std::map<std::string, std::vector<times::TimeSpan>> spans = diskSpans(summary);
  for (const DiskSummary& disk : summary.disks) {
    svg += label(disk.record.name, y, rowHeight);
    svg += bars(spans.at(disk.record.name), axis, y + 1, std::max(1.0, rowHeight - 2),
                kCoveredColour, "covered");
    y += rowHeight;
  }
  for (const StationSummary& station : summary.stations) {
    y += 10;
    svg += label("merged " + station.station, y, stationHeight);
    svg +=
        bars(spansOf(station.timespans), axis, y + 4, stationHeight - 8, kCoveredColour, "covered");
    svg += bars(spansOf(station.gaps), axis, y + 4, stationHeight - 8, kGapColour, "gap");
    svg += bars(spansOf(station.overlaps), axis, y + 4, 4, kOverlapColour, "overlap");
    svg += eventMarkers(station, axis, y + 3);
    y += stationHeight;
  }
  svg += timeAxis(axis, y + 8);
  return svg + "</svg>\n";
}

}  // namespace summary
