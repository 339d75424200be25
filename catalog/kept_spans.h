#pragma once

// The time each station's stream holds, kept by the catalogue as it changes:
// availability reads these few rows instead of every file's. Both stores keep
// them alike; what they share is here, what each store does with its tables
// behind KeptSpanTable.

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "times/span_union.h"

namespace catalog {

// A station's stream of one of a disk's streams: what spans are kept for.
struct SourceKey {
  DiskStream diskStream = DiskStream::kPermanent;
  std::string station;
  int32_t stream = 0;
};

// What one disk holds of a source, kept beside the disk (and gone with it).
struct SourceOnDisk {
  std::string station;
  int32_t stream = 0;
  int32_t frequency = 0;  // of its earliest file
  int64_t first = 0;      // the earliest start of its files
  int64_t last = 0;       // and the latest end
};

// The sources of a disk's usable files, by station and stream.
std::vector<SourceOnDisk> sourcesOnDisk(const std::vector<CataloguedFile>& files);

// A source's kept spans after a change of its files within changed: those
// parts of the kept spans that touch changed (kept) outside it, and within it
// the union of the records of the files the catalogue holds now that touch it
// (filesNow). Outside changed, nothing has changed; so the result is the union
// of every file's records there, as unionOf makes it.
std::vector<times::TimeSpan> keptAfterChange(const std::vector<times::TimeSpan>& kept,
                                             times::TimeSpan changed,
                                             std::vector<times::TimeSpan> filesNow);

// The questions of spans a store answers, each one statement of
// catalog_schema.h, in SQL both stores take: of a source (?1 to ?3) and a span
// (?4, ?5), in time order,
enum class SpanQuery : uint8_t {
  kKeptTouching,   // the kept spans that touch it (end at or after its start and
                   // start at or before its end);
  kKeptAtEnds,     // the first that ends after its start and the last that
                   // starts before its end: of those, the ones that meet it are
                   // the first and the last that meet it (perhaps one, twice);
  kFilesTouching,  // the records of the usable files, on every disk the
                   // catalogue holds now, that touch it.
};
const char* sqlOf(SpanQuery query);

// A store's kept spans, within the transaction that changes a disk.
class KeptSpanTable {
 public:
  virtual ~KeptSpanTable() = default;
  virtual std::vector<times::TimeSpan> spansOf(SpanQuery query, const SourceKey& key,
                                               times::TimeSpan span) = 0;
  // How many kept spans of key meet window (kCountKeptMeeting).
  virtual int64_t keptCount(const SourceKey& key, times::TimeSpan window) = 0;
  // Replaces the kept spans of key that were (as kKeptTouching gave them)
  // with those that are.
  virtual void replaceKept(const SourceKey& key, const std::vector<times::TimeSpan>& were,
                           const std::vector<times::TimeSpan>& are) = 0;
};

// Brings the kept spans up to date once a disk of stream has changed in the
// transaction: before, the sources it held (none when it is new), after those
// it holds now (none when it was removed).
void keepSpans(DiskStream stream, const std::vector<SourceOnDisk>& before,
               const std::vector<SourceOnDisk>& after, KeptSpanTable& table);

// A source on a disk that counts for it, as a store gives it
// (kSelectCountedSources): with when its disk was added.
struct CountedSource {
  SourceOnDisk source;
  int64_t added = 0;
};

// The sources availability lists (Catalog::sourcesOf) of the disks of stream:
// of rows (by station, stream and first), those that meet the window, with
// their kept spans that meet it, as detailed.
std::vector<KeptSource> keptSourcesOf(const std::vector<CountedSource>& rows, DiskStream stream,
                                      times::TimeSpan window, SpanDetail detail,
                                      KeptSpanTable& table);

}  // namespace catalog
