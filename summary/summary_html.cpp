#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "summary/daily_availability.h"
#include "summary/gap_classes.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace summary {

// The page (coverage_page.html), made part of the program by the build.
extern const std::string_view kCoveragePageTemplate;

namespace {

using Json = nlohmann::ordered_json;

// Where the page's data goes: inside a script element of type
// "application/json", read by the page's script at load.
constexpr std::string_view kDataMarker = "/*COVERAGE-DATA*/";

// Times are seconds from base, and every list of spans is flat, each number
// the step from the one before (start, end, start, end, ...): the archive's
// data stays small and the page turns it back into times in one pass.
Json spanSteps(const std::vector<times::TimeSpan>& spans, int64_t base) {
  Json steps = Json::array();
  int64_t last = base;
  for (const times::TimeSpan& span : spans) {
    steps.push_back(span.start - last);
    steps.push_back(span.end - span.start);
    last = span.end;
  }
  return steps;
}

Json diskIndexes(const std::vector<std::string>& names, const std::map<std::string, int>& indexOf) {
  Json indexes = Json::array();
  for (const std::string& name : names) indexes.push_back(indexOf.at(name));
  return indexes;
}

Json disksJson(const CoverageSummary& summary, int64_t base) {
  Json disks = Json::array();
  for (const DiskSummary& disk : summary.disks) {
    Json unusable = Json::array();
    for (const FileRecord& file : disk.record.files) {
      if (!file.usable) unusable.push_back(file.path);
    }
    disks.push_back({{"name", disk.record.name},
                     {"files", disk.record.files.size()},
                     {"first", disk.first ? Json(*disk.first - base) : Json(nullptr)},
                     {"last", disk.last ? Json(*disk.last - base) : Json(nullptr)},
                     {"spans", spanSteps(disk.coveredSpans(), base)},
                     {"unusable", unusable}});
  }
  return disks;
}

Json eventsJson(const StationSummary& station, int64_t base) {
  Json events = Json::array();
  for (const StationEvent& event : station.events) {
    if (!event.time) continue;  // unusable files are listed with their disks
    std::string text = std::string(eventKindName(event.kind)) + ": " + event.file.label();
    if (event.change)
      text +=
          " (" + event.change->field + " " + event.change->from + " -> " + event.change->to + ")";
    if (!event.message.empty()) text += " (" + event.message + ")";
    events.push_back({*event.time - base, text});
  }
  return events;
}

Json stationsJson(const CoverageSummary& summary, int64_t base) {
  std::map<std::string, int> indexOf;
  for (const DiskSummary& disk : summary.disks)
    indexOf.emplace(disk.record.name, static_cast<int>(indexOf.size()));
  std::map<std::string, Json> days;
  for (const DayAvailability& day : dailyAvailability(summary)) {
    Json& list = days[day.station];
    if (list.is_null()) list = Json::array();
    list.push_back({day.day - base, day.coveredSeconds, day.gapCount, day.longestGapSeconds,
                    day.overlapCount, day.longestOverlapSeconds});
  }
  Json stations = Json::array();
  for (const StationSummary& station : summary.stations) {
    Json gapDisks = Json::array();
    for (const SpanWithDisks& gap : station.gaps)
      gapDisks.push_back(diskIndexes(gap.disks, indexOf));
    Json overlapDisks = Json::array();
    for (const OverlapRegion& region : station.overlaps)
      overlapDisks.push_back(diskIndexes(region.disks, indexOf));
    const auto dayList = days.find(station.station);
    const auto proven = summary.provenCopies.find(station.station);
    Json provenDisks = Json::array();
    if (proven != summary.provenCopies.end()) {
      for (const SpanWithDisks& piece : proven->second) provenDisks.push_back(piece.disks);
    }
    stations.push_back({{"name", station.station},
                        {"window", {station.window.start - base, station.window.end - base}},
                        {"spans", spanSteps(spansOf(station.timespans), base)},
                        {"gaps", spanSteps(spansOf(station.gaps), base)},
                        {"gapDisks", gapDisks},
                        {"overlaps", spanSteps(spansOf(station.overlaps), base)},
                        {"overlapDisks", overlapDisks},
                        {"events", eventsJson(station, base)},
                        {"coveragePercent", station.coveragePercent},
                        {"days", dayList == days.end() ? Json::array() : dayList->second}});
    // From a catalogue: its time in pieces, each with its disks proven readable.
    if (proven != summary.provenCopies.end()) {
      stations.back()["proven"] = spanSteps(spansOf(proven->second), base);
      stations.back()["provenDisks"] = provenDisks;
    }
  }
  return stations;
}

// JSON safe inside a script element: "</" could end it, and "<!--" with
// "<script" puts the HTML parser in a state where even "</script>" does not.
// '<', '>' and '&' stand only inside JSON's strings, where escapes mean them.
std::string scriptSafe(const std::string& json) {
  std::string safe;
  safe.reserve(json.size());
  for (const char c : json) {
    if (c == '<') {
      safe += "\\u003c";
    } else if (c == '>') {
      safe += "\\u003e";
    } else if (c == '&') {
      safe += "\\u0026";
    } else {
      safe += c;
    }
  }
  return safe;
}

}  // namespace

std::string coveragePage(const CoverageSummary& summary) {
  std::optional<int64_t> base;
  for (const StationSummary& station : summary.stations) {
    if (station.firstStart) base = std::min(base.value_or(INT64_MAX), station.window.start);
  }
  Json gapClasses = Json::array();
  for (const GapClass& gapClass : kGapClasses) {
    gapClasses.push_back(
        {gapClass.upToSeconds == INT64_MAX ? Json(nullptr) : Json(gapClass.upToSeconds),
         gapClass.colour, gapClass.name});
  }
  const Json data = {{"gapToleranceSeconds", summary.options.gapToleranceSeconds},
                     {"gapClasses", gapClasses},
                     {"base", base.value_or(0)},
                     {"disks", disksJson(summary, base.value_or(0))},
                     {"stations", stationsJson(summary, base.value_or(0))}};
  std::string page(kCoveragePageTemplate);
  page.replace(page.find(kDataMarker), kDataMarker.size(),
               scriptSafe(data.dump(-1, ' ', false, Json::error_handler_t::replace)));
  return page;
}

}  // namespace summary
