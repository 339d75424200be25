#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "queries/report_format.h"
#include "summary/summarize.h"

namespace queries {

struct SafetyQuery {
  std::string station;  // empty: every station
  times::TimeSpan window;
  int64_t now = 0;
  std::optional<int64_t> olderThan;  // seconds: list the disks last proven longer ago
};

// One line of the report, of one of four kinds:
// - kHeld: of a station's stream, the seconds of data held by no proven
//   disk, by exactly one, and by two or more;
// - kLost: a span of a station's stream lost on one disk (disk), with the
//   disks it is intact on (none: it is lost everywhere);
// - kOld: a disk whose last proof is older than asked (or that has none);
// - kReburn: a disk holding seconds no other proven disk holds (seconds),
//   the most at risk first: damaged, then proven longest ago.
struct SafetyRow {
  enum class Kind : uint8_t { kHeld, kLost, kOld, kReburn };
  Kind kind = Kind::kHeld;
  std::string station;
  int32_t stream = 0;
  std::string disk;
  times::TimeSpan span;                                      // kLost
  int64_t none = 0, one = 0, more = 0;                       // kHeld
  int64_t seconds = 0;                                       // kReburn: only it holds them
  std::vector<std::string> intactOn;                         // kLost
  std::optional<int64_t> proven;                             // kOld, kReburn
  catalog::DiskState state = catalog::DiskState::kUnproven;  // kOld, kReburn
};

struct SafetyReport {
  // By kind: held and lost by station and stream (lost then by disk and
  // time), old and reburn most at risk first.
  std::vector<SafetyRow> rows;
  // True when some second of data is held by no proven disk.
  bool someLostEverywhere() const;
};

// How safe each second of the data of disks is (of the query's station and
// window): a disk counts for a second when it has been proven readable (its
// state is not unproven) and that second is neither in a file its latest
// check found changed, missing or below a directory it could not list, nor in
// time lost (by that check, else when it was added). Time lost is taken
// against every stream of its station on that disk. Copies count as disks of
// their own: each is a shelf's copy.
SafetyReport safetyOf(const std::vector<catalog::ProvenDisk>& disks, const SafetyQuery& query);

// Per station (whatever the stream), its data in pieces, each with the
// labels of the disks that count for all of it (as safetyOf counts them),
// pieces of the same disks that touch joined: what cdcoverage's page colours
// by its count of proven copies.
std::map<std::string, std::vector<summary::SpanWithDisks>> provenCopiesOf(
    const std::vector<catalog::ProvenDisk>& disks, const SafetyQuery& query);

// `cdarchive safety`'s formats, each from the report's rows: "text" (a line
// each, for a person), "csv" (kind|station|stream|disk|from|to|none|one|more|
// seconds|intact_on|proven|state, CR LF lines) and "json" (the rows).
const std::vector<ReportFormat<SafetyReport>>& safetyFormats();

}  // namespace queries
