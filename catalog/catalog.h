#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "fixity/audit.h"
#include "fixity/file_fixity.h"
#include "survey/file_record.h"
#include "times/span_union.h"

namespace catalog {

// A data file as the catalogue keeps it.
struct CataloguedFile {
  survey::FileRecord record;
  int64_t size = -1;                  // bytes as opened; -1 when it could not be opened
  int32_t stream = 0;                 // the header's stream number; 0 for an unusable file
  std::vector<std::string> findings;  // the kinds of its findings (verify::findingKindName)
  std::vector<times::TimeSpan> lost;  // the time of its records that could not be read
};

// Which of a disk's two streams of data files a catalogued disk holds: a disk
// may be catalogued once for each, under one label.
enum class DiskStream : uint8_t { kPermanent, kTrigger };

// "permanent" or "trigger", as the catalogue and the options name them.
const char* streamName(DiskStream stream);
// The stream of that name: the trigger stream for "trigger", else the
// permanent one.
DiskStream streamNamed(std::string_view name);

// Where a disk's label came from.
enum class LabelSource : uint8_t {
  kUnknown,  // added before the catalogue kept it
  kGiven,    // --as
  kImage,    // an image's volume identifier
  kVolume,   // the label of the volume mounted at the folder, or of the drive
  kFolder,   // the folder's name: no mount point, or a volume without a label
};

// "", "given", "image", "volume" or "folder", as the catalogue keeps it.
const char* labelSourceName(LabelSource source);
// The source of that name; kUnknown for any other.
LabelSource labelSourceOf(const std::string& name);

// How a disk stands by its proofs: never proven readable (added without
// fixity and never checked), or readable as recorded, or not, by the latest
// check (else by its addition with fixity, every byte read or not).
enum class DiskState : uint8_t { kUnproven, kIntact, kDamaged };

// "unproven", "intact" or "damaged".
const char* diskStateName(DiskState state);

// A disk as `cdarchive disks` lists it.
struct DiskEntry {
  std::string label;
  DiskStream stream = DiskStream::kPermanent;
  LabelSource labelSource = LabelSource::kUnknown;
  std::string source;  // where it was read from: a folder, a drive or an image
  int64_t files = 0;
  int64_t bytes = 0;
  std::optional<int64_t> first;  // over its usable files, the station's clock
  std::optional<int64_t> last;
  int64_t added = 0;  // when it was added, seconds since 1970 UTC
  // What its data files hold (contentOf); empty when it holds none.
  std::string content;
  // The label of the disk of the same content and stream that was added first
  // (the earlier label first when added in the same second): this disk is a
  // copy of it. Nothing when it is the first, or holds no data file.
  std::optional<std::string> copyOf;
  // Given by Catalog::disks() alone: when it was last proven readable as
  // recorded (the latest check that matched every file, or its addition with
  // fixity when every byte was read then, whichever is later), and how it
  // stands.
  std::optional<int64_t> proven;
  DiskState state = DiskState::kUnproven;
};

// What the catalogue keeps of a disk's proofs, from which DiskEntry's proven
// and state follow (setProof).
struct ProofFacts {
  int64_t added = 0;
  bool fixity = false;               // taken when it was added
  bool readWhole = false;            // and every byte was read then
  std::optional<int64_t> lastClean;  // the latest check that matched every file
  std::optional<int64_t> latest;     // the latest check
  bool latestClean = false;
};

// Sets entry's proven and state from facts.
void setProof(DiskEntry& entry, const ProofFacts& facts);

// A data file's time lost to bytes that cannot be read.
struct LostTime {
  std::string station;
  std::string path;  // as the logs show it
  times::TimeSpan span;
};

// A check of a disk against the catalogue, as the catalogue keeps it.
struct AuditRecord {
  int64_t checked = 0;  // when it ran, seconds since 1970 UTC
  std::string source;   // what was read: a folder, a drive or an image
  int64_t matched = 0;  // how many files it found as recorded
  // Every other file (and directory that could not be listed), in the
  // audit's order.
  std::vector<fixity::AuditEntry> findings;
  std::vector<LostTime> lost;
  // True when every file matched.
  bool clean() const { return findings.empty(); }
};

struct CataloguedDisk {
  DiskEntry entry;
  // What its listing looked like (names, sizes, times and the walk's
  // settings), as a record: it never decides that a disk is unchanged.
  std::string listing;
  std::vector<CataloguedFile> files;  // in the walk's order
  // Its fixity, where it was taken: the SHA-256 of its manifest
  // (fixity::manifestText of held) and every file of the disk, data or not.
  std::string manifest;  // empty: fixity was not taken
  std::vector<fixity::FileFixity> held;
};

// Whether disk's fixity was taken with every byte of it read: the proof its
// addition gives.
bool readWhole(const CataloguedDisk& disk);

// A disk with its files, its proofs (entry.proven and entry.state) and its
// latest check, if it had one: what the safety of its data is weighed by.
struct ProvenDisk {
  CataloguedDisk disk;
  std::optional<AuditRecord> latest;
};

// A station's stream of one of the disks' streams, as availability needs it:
// from what the catalogue keeps, no file row read.
struct KeptSource {
  std::string station;
  int32_t stream = 0;
  int32_t sampleRate = 0;  // of the first file of the earliest disk that meets the window
  int64_t updated = 0;     // when the newest disk that meets the window was added
  // The union of its files' records (touching records one span): each span
  // that meets the window, whole; of an extent, the first and the last only.
  std::vector<times::TimeSpan> spans;
  int64_t spanCount = 0;  // how many spans meet the window
};

// How much of each source's time Catalog::sourcesOf gives.
enum class SpanDetail : uint8_t { kEvery, kExtent };

// A catalogue that cannot be opened, is not one, or failed a statement, as
// the stores throw it inside; the message says which catalogue and why. It
// never leaves the catalogue: its operations give it as their failure.
class CatalogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a run does with a catalogue: only reads it (which never changes it,
// nor leaves a file beside it), writes it, or writes it and makes it where
// there is none.
enum class CatalogAccess : uint8_t { kRead, kWrite, kCreate };

// The schema version this program writes, in both stores.
inline constexpr int64_t kCatalogSchemaVersion = 5;

// Throws when a catalogue's schema version is newer than this program's: such
// a catalogue is left as it is.
inline void refuseNewerSchema(const std::string& where, int64_t version) {
  if (version <= kCatalogSchemaVersion) return;
  throw CatalogError("catalogue " + where + " has schema version " + std::to_string(version) +
                     ", newer than this cdarchive's " + std::to_string(kCatalogSchemaVersion) +
                     ": use a newer cdarchive");
}

// The archive's catalogue: every disk added and every data file on it. One
// implementation per store (SQLite, PostgreSQL), each of the private store
// operations below; every operation gives its value or the store's failure
// (what failed, naming the catalogue), and changes nothing when it fails.
class Catalog {
 public:
  virtual ~Catalog() = default;

  // Makes the disk and its files what the catalogue holds under its label and
  // stream, in one transaction: added, or every row it had replaced. Its
  // entry's copyOf is not kept: copies are known by their content.
  base::Status putDisk(const CataloguedDisk& disk);
  // Removes the disk of that label and stream and its files; false when there
  // is none. Its copies stay.
  base::Outcome<bool> removeDisk(const std::string& label, DiskStream stream);
  // Keeps a check of the disk of that label and stream, in one transaction;
  // false when there is no such disk. Its audits go with the disk when it is
  // removed or replaced.
  base::Outcome<bool> recordAudit(const std::string& label, DiskStream stream,
                                  const AuditRecord& audit);
  // The latest check of the disk of that label and stream; nothing when it
  // was never checked, or there is no such disk.
  base::Outcome<std::optional<AuditRecord>> latestAuditOf(const std::string& label,
                                                          DiskStream stream);
  // Every disk with its proofs, copies after the disk they copy
  // (orderedWithCopies).
  base::Outcome<std::vector<DiskEntry>> disks();
  // The disks of that content and stream (copies of one disk), the one the
  // others copy first; none for the empty content.
  base::Outcome<std::vector<DiskEntry>> disksHolding(const std::string& content, DiskStream stream);
  // Every station with a usable file, in byte order.
  base::Outcome<std::vector<std::string>> stations();
  // The disk of that label and stream with its data files (in the walk's
  // order) and its fixity (manifest and held), without its listing; nothing
  // when there is no such disk.
  base::Outcome<std::optional<CataloguedDisk>> fixityOf(const std::string& label,
                                                        DiskStream stream);
  // The disks of stream by label, each with its files in the walk's order:
  // with a window, only the usable files of station (every station when empty)
  // whose records cover part of the window; without one, every file of
  // station. Disks without such files are left out; their listings are not
  // given. Copies are given too, each entry's copyOf set.
  base::Outcome<std::vector<CataloguedDisk>> filesOf(const std::string& station,
                                                     const std::optional<times::TimeSpan>& window,
                                                     DiskStream stream);
  // Each stream of station (every station when empty) held by usable files
  // on disks of stream, with its spans that meet the window (a side without
  // a limit is the smallest or largest time); a copy's disk neither counts
  // for the sample rate nor when it was updated. By station, then stream.
  // Of an extent, without reading the spans between its first and last.
  base::Outcome<std::vector<KeptSource>> sourcesOf(const std::string& station,
                                                   times::TimeSpan window, DiskStream stream,
                                                   SpanDetail detail = SpanDetail::kEvery);

 private:
  // What each store does for the operation of the same name; each throws
  // CatalogError when the store fails, which the operation gives as its
  // failure.
  virtual void storeDisk(const CataloguedDisk& disk) = 0;
  virtual bool deleteDisk(const std::string& label, DiskStream stream) = 0;
  virtual bool storeAudit(const std::string& label, DiskStream stream,
                          const AuditRecord& audit) = 0;
  virtual std::optional<AuditRecord> latestAudit(const std::string& label, DiskStream stream) = 0;
  virtual std::vector<DiskEntry> allDisks() = 0;
  virtual std::vector<DiskEntry> disksOfContent(const std::string& content, DiskStream stream) = 0;
  virtual std::vector<std::string> allStations() = 0;
  virtual std::optional<CataloguedDisk> diskWithFixity(const std::string& label,
                                                       DiskStream stream) = 0;
  virtual std::vector<CataloguedDisk> filesMeeting(const std::string& station,
                                                   const std::optional<times::TimeSpan>& window,
                                                   DiskStream stream) = 0;
  virtual std::vector<KeptSource> sourcesMeeting(const std::string& station, times::TimeSpan window,
                                                 DiskStream stream, SpanDetail detail) = 0;
};

// Every disk of stream that holds a data file (copies too, each copyOf set),
// with its files, its proofs and its latest check.
base::Outcome<std::vector<ProvenDisk>> provenDisksOf(Catalog& catalog, DiskStream stream);

}  // namespace catalog
