#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"

namespace cdarchive {

struct AvailabilityQuery {
  std::optional<int64_t> from;  // the window; each side defaults to the
  std::optional<int64_t> to;    // station's first start and last end
  bool extent = false;          // one line per station and stream
  int64_t mergeGaps = 0;        // spans apart by at most this are one
  int64_t now = 0;              // when the report is made, seconds since 1970 UTC
};

// What `cdarchive availability` writes in format ("text", "geocsv", "json" or
// "request"), after FDSN availability: per station and stream of the usable
// files found (catalog::Catalog::timesOf, by station and start), each
// continuous span within the window, as cdcoverage's timespans are (the union
// of the files' records, touching spans one), spans
// apart by at most mergeGaps seconds made one; or with extent the earliest and
// latest time, the number of spans and when its newest disk was added.
std::string availabilityReport(const std::vector<catalog::TimedFile>& found,
                               const AvailabilityQuery& query, const std::string& format);

}  // namespace cdarchive
