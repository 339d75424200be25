#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "summary/file_record.h"
#include "times/span_union.h"

// A data file as the summary names it.
struct FileName {
  std::string disk;
  std::string path;
  bool operator==(const FileName& other) const = default;
};

// Two files whose records cover the same time.
struct OverlapPair {
  TimeSpan span;
  FileName first;  // the earlier-starting file
  FileName second;
};

// Something an operator should look at, in time order where it has a time.
struct StationEvent {
  // "position", "frequency": a value changed from the previous file in time
  // order; "clock": a clock check failed; "no-coverage": the records cover no
  // time; "unusable": the file cannot be read.
  std::string kind;
  std::optional<int64_t> time;
  FileName file;
  std::optional<FileName> previousFile;  // changes: the file the value came from
  std::string field;  // changes: "latitude", "longitude", "altitude", "frequency"
  std::string from;   // changes: the previous and the new value
  std::string to;
  std::string message;  // clock: the check's message
};

struct StationSummary {
  std::string station;
  std::optional<int64_t> firstStart;  // over all its files, whatever the window
  std::optional<int64_t> lastEnd;
  TimeSpan window;                  // what coverage is measured over
  std::vector<TimeSpan> timespans;  // covered, within the window
  std::vector<TimeSpan> gaps;       // uncovered within the window, past the tolerance
  std::vector<TimeSpan> overlaps;   // covered twice or more, within the window
  std::vector<OverlapPair> overlapPairs;
  // The disks whose files make each timespan, and those on either side of
  // each gap (one when both sides are the same disk, none at an empty edge).
  std::vector<std::vector<std::string>> timespanDisks;
  std::vector<std::vector<std::string>> gapDisks;
  int64_t spanSeconds = 0;      // last end - first start
  int64_t realDataSeconds = 0;  // covered seconds within the window
  double coveragePercent = 0;   // of the window; 0 for an empty window
  std::vector<StationEvent> events;
};

struct DiskSummary {
  std::string disk;
  int32_t fileCount = 0;
  std::optional<int64_t> first;  // over its usable files
  std::optional<int64_t> last;
};

// Time between two disks (in order of their first times) that neither covers,
// or that both cover.
struct DiskJunction {
  std::string before;
  std::string after;
  TimeSpan span;
};

struct SummaryOptions {
  int64_t gapToleranceSeconds = 0;
  std::optional<int64_t> from;  // the window; each side defaults to the
  std::optional<int64_t> to;    // station's first start and last end
};

struct CoverageSummary {
  SummaryOptions options;
  std::vector<StationSummary> stations;  // by name
  std::vector<DiskSummary> disks;        // by name
  std::vector<DiskJunction> diskGaps;
  std::vector<DiskJunction> diskOverlaps;
  std::vector<DiskRecord> diskRecords;  // the files summarised, disks by name
};

// Summarises the files of all disks. The result does not depend on the order
// of the disks: they are taken by name (equal names in the given order).
CoverageSummary summarize(std::vector<DiskRecord> disks, const SummaryOptions& options);
