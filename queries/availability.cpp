#include "queries/availability.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "base/printable_name.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"
#include "times/span_union.h"

namespace queries {

Availability availabilityOf(const std::vector<catalog::KeptSource>& found,
                            const AvailabilityQuery& query) {
  std::vector<DataSource> list;
  for (const catalog::KeptSource& kept : found) {
    if (kept.spans.empty()) continue;
    const times::TimeSpan window{query.from.value_or(kept.spans.front().start),
                                 query.to.value_or(kept.spans.back().end)};
    DataSource source{kept.station,
                      kept.stream,
                      kept.sampleRate,
                      kept.updated,
                      times::joinedAcross(times::clippedTo(kept.spans, window), query.mergeGaps),
                      0};
    // Those of an extent, not read, are apart: none were joined.
    source.spanCount =
        kept.spanCount - static_cast<int64_t>(kept.spans.size() - source.spans.size());
    if (!source.spans.empty()) list.push_back(std::move(source));
  }
  return Availability{query, std::move(list)};
}

namespace {

// Calls line(fields) for each line: station, stream, sample rate, earliest,
// latest, and for an extent when updated and how many spans. The fields are
// one vector, refilled for each line.
template <typename Line>
void forEachLine(const std::vector<DataSource>& sources, bool extent, const Line& line) {
  std::vector<std::string> fields;
  for (const DataSource& source : sources) {
    fields = {source.station, std::to_string(source.stream), std::to_string(source.sampleRate)};
    if (extent) {
      fields.push_back(times::isoTime(source.spans.front().start));
      fields.push_back(times::isoTime(source.spans.back().end));
      fields.push_back(times::isoTime(source.updated));
      fields.push_back(std::to_string(source.spanCount));
      line(fields);
      continue;
    }
    for (const times::TimeSpan& span : source.spans) {
      fields.resize(3);
      fields.push_back(times::isoTime(span.start));
      fields.push_back(times::isoTime(span.end));
      line(fields);
    }
  }
}

std::vector<std::string> headerOf(bool extent) {
  std::vector<std::string> header = {"Station", "Stream", "SampleRate", "Earliest", "Latest"};
  if (extent) {
    header.push_back("Updated");
    header.push_back("TimeSpans");
  }
  return header;
}

std::string joined(const std::vector<std::string>& fields, const char* separator,
                   std::string (*field)(const std::string&)) {
  std::string line;
  for (const std::string& text : fields) line += (line.empty() ? "" : separator) + field(text);
  return line;
}

std::string asIs(const std::string& text) { return text; }

// A column of the text and request formats: a text with a blank or a quote
// is quoted, its quotes doubled, so that the name stays the name; control
// bytes are escaped as the logs show them; empty is "--".
std::string word(const std::string& text) {
  if (text.empty()) return "--";
  const std::string shown = base::printableName(text);
  if (shown.find_first_of(" \"") == std::string::npos) return shown;
  std::string quoted = "\"";
  for (const char c : shown) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string jsonReport(const Availability& availability) {
  using Json = nlohmann::ordered_json;
  const AvailabilityQuery& query = availability.query;
  Json list = Json::array();
  for (const DataSource& source : availability.sources) {
    Json item = {{"station", source.station},
                 {"stream", source.stream},
                 {"samplerate", source.sampleRate},
                 {"earliest", times::isoTime(source.spans.front().start)},
                 {"latest", times::isoTime(source.spans.back().end)}};
    if (query.extent) {
      item["updated"] = times::isoTime(source.updated);
      item["timespanCount"] = source.spanCount;
    } else {
      Json spans = Json::array();
      for (const times::TimeSpan& span : source.spans)
        spans.push_back({times::isoTime(span.start), times::isoTime(span.end)});
      item["timespans"] = spans;
    }
    list.push_back(item);
  }
  const Json report = {{"created", times::isoTime(query.now)},
                       {"mergeGapsSeconds", query.mergeGaps},
                       {"datasources", list}};
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string geocsvReport(const Availability& availability) {
  const bool extent = availability.query.extent;
  std::string text = "#dataset: GeoCSV 2.0\n#delimiter: |\n";
  text += extent ? "#field_unit: unitless|unitless|hertz|ISO_8601|ISO_8601|ISO_8601|unitless\n"
                   "#field_type: string|integer|integer|datetime|datetime|datetime|integer\n"
                 : "#field_unit: unitless|unitless|hertz|ISO_8601|ISO_8601\n"
                   "#field_type: string|integer|integer|datetime|datetime\n";
  text += joined(headerOf(extent), "|", asIs) + "\n";
  forEachLine(availability.sources, extent, [&](const std::vector<std::string>& fields) {
    text += joined(fields, "|", summary::csvField) + "\n";
  });
  return text;
}

// A request line per span or extent: station, stream, start, end.
std::string requestReport(const Availability& availability) {
  std::string text;
  forEachLine(
      availability.sources, availability.query.extent, [&](const std::vector<std::string>& fields) {
        text += word(fields[0]) + " " + fields[1] + " " + fields[3] + " " + fields[4] + "\n";
      });
  return text;
}

std::string textReport(const Availability& availability) {
  std::string text = "#" + joined(headerOf(availability.query.extent), " ", asIs) + "\n";
  forEachLine(
      availability.sources, availability.query.extent,
      [&](const std::vector<std::string>& fields) { text += joined(fields, " ", word) + "\n"; });
  return text;
}

}  // namespace

const std::vector<ReportFormat<Availability>>& availabilityFormats() {
  static const std::vector<ReportFormat<Availability>> formats = {{"text", textReport},
                                                                  {"geocsv", geocsvReport},
                                                                  {"json", jsonReport},
                                                                  {"request", requestReport}};
  return formats;
}

}  // namespace queries
