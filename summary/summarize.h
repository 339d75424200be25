#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "survey/file_record.h"
#include "times/span_union.h"

namespace summary {

// The survey's records, which the summary is made of.
using survey::DiskRecord;
using survey::FileRecord;

// A data file as the summary names it.
struct FileName {
  std::string disk;
  std::string path;
  bool operator==(const FileName& other) const = default;
  // The path, led by "DISK: " when it does not begin with the disk's name (a
  // disk told apart from others of its name), so that no two files read alike.
  std::string label() const;
};

// Time covered twice or more, merged as the timespans are, with every file
// whose records cover twice a part of it.
struct OverlapRegion {
  times::TimeSpan span;
  std::vector<FileName> files;     // in order of their start
  std::vector<std::string> disks;  // of those files, first seen first
  bool operator==(const OverlapRegion& other) const = default;
};

// Two files whose records cover the same time: an overlap region is made of
// such pairs.
struct OverlapPair {
  times::TimeSpan span;
  FileName first;  // the earlier-starting file
  FileName second;
};

enum class EventKind : uint8_t {
  kPosition,    // latitude, longitude or altitude changed from the previous file in time order
  kFrequency,   // the frequency changed from the previous file in time order
  kClock,       // a clock check failed
  kNoCoverage,  // the records cover no time
  kUnusable,    // the file cannot be read
};

// "position", "frequency", "clock", "no-coverage", "unusable".
std::string_view eventKindName(EventKind kind);

// Something an operator should look at, in time order where it has a time.
struct StationEvent {
  // kPosition, kFrequency: what changed, and the file the value came from.
  struct Change {
    FileName previousFile;
    std::string field;  // "latitude", "longitude", "altitude", "frequency"
    std::string from;
    std::string to;
  };

  EventKind kind = EventKind::kUnusable;
  std::optional<int64_t> time;  // none for an unusable file
  FileName file;
  std::optional<Change> change;
  std::string message;  // kClock: the check's message
};

// A stretch of a station's time with the disks it concerns: for a timespan the
// disks whose files make it; for a gap the disks on either side (one when both
// sides are the same disk, none at an empty edge).
struct SpanWithDisks {
  times::TimeSpan span;
  std::vector<std::string> disks;
  bool operator==(const SpanWithDisks& other) const = default;
};

// The spans alone, of SpanWithDisks or OverlapRegion.
template <typename Item>
std::vector<times::TimeSpan> spansOf(const std::vector<Item>& list) {
  std::vector<times::TimeSpan> spans;
  spans.reserve(list.size());
  for (const Item& item : list) spans.push_back(item.span);
  return spans;
}

struct StationSummary {
  std::string station;
  std::optional<int64_t> firstStart;  // over all its files, whatever the window
  std::optional<int64_t> lastEnd;
  times::TimeSpan window;                // what coverage is measured over
  std::vector<SpanWithDisks> timespans;  // covered, within the window
  std::vector<SpanWithDisks> gaps;       // uncovered within the window, past the tolerance
  std::vector<OverlapRegion> overlaps;   // covered twice or more, within the window
  std::vector<OverlapPair> overlapPairs;
  int64_t spanSeconds = 0;      // last end - first start
  int64_t realDataSeconds = 0;  // covered seconds within the window
  double coveragePercent = 0;   // of the window; 0 for an empty window
  std::vector<StationEvent> events;
};

struct DiskSummary {
  DiskRecord record;             // its name and its files in the walk's order
  std::optional<int64_t> first;  // over its usable files
  std::optional<int64_t> last;
  // The union of its usable files' spans.
  std::vector<times::TimeSpan> coveredSpans() const;
};

// Time between two disks (in order of their first times) that neither covers,
// or that both cover.
struct DiskJunction {
  std::string before;
  std::string after;
  times::TimeSpan span;
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
  // Given from a catalogue, not summarised: per station, its time in pieces,
  // each with the disks proven readable that hold it (none, one or more).
  std::map<std::string, std::vector<SpanWithDisks>> provenCopies;
};

// Summarises the files of all disks. The result does not depend on the order
// of the disks: they are taken by name (equal names in the given order).
CoverageSummary summarize(std::vector<DiskRecord> disks, const SummaryOptions& options);

}  // namespace summary
