#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "queries/report_format.h"
#include "times/span_union.h"

namespace queries {

struct AvailabilityQuery {
  std::optional<int64_t> from;  // the window; each side defaults to the
  std::optional<int64_t> to;    // station's first start and last end
  bool extent = false;          // one line per station and stream
  int64_t mergeGaps = 0;        // spans apart by at most this are one
  int64_t now = 0;              // when the report is made, seconds since 1970 UTC
};

// One station's stream, as availability lists it.
struct DataSource {
  std::string station;
  int32_t stream = 0;
  int32_t sampleRate = 0;  // as catalog::KeptSource
  int64_t updated = 0;
  std::vector<times::TimeSpan> spans;  // of an extent, the first and the last
  int64_t spanCount = 0;
};

struct Availability {
  AvailabilityQuery query;
  std::vector<DataSource> sources;  // by station, then stream
};

// After FDSN availability: per station and stream the catalogue keeps
// (catalog::Catalog::sourcesOf), each continuous span within the window, as
// cdcoverage's timespans are (the union of the files' records, touching spans
// one), spans apart by at most mergeGaps seconds made one.
Availability availabilityOf(const std::vector<catalog::KeptSource>& found,
                            const AvailabilityQuery& query);

// `cdarchive availability`'s formats: "text" (a '#' header, columns apart by
// blanks), "geocsv", "json" and "request" lines (station, stream, start, end);
// each span, or with the query's extent the earliest and latest time, the
// number of spans and when its newest disk was added.
const std::vector<ReportFormat<Availability>>& availabilityFormats();

}  // namespace queries
