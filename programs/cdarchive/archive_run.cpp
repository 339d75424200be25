#include "programs/cdarchive/archive_run.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "base/ascii_case.h"
#include "base/printable_name.h"
#include "base/text_format.h"
#include "catalog/catalog_survey.h"
#include "catalog/disk_identity.h"
#include "catalog/open_catalog.h"
#include "display/progress_line.h"
#include "fixity/file_digests.h"
#include "guard/write_guard.h"
#include "platform/path_rules.h"
#include "platform/sha256.h"
#include "programs/cdarchive/archive_options.h"
#include "programs/common/standard_output.h"
#include "queries/availability.h"
#include "queries/check.h"
#include "queries/disks.h"
#include "queries/find.h"
#include "queries/safety.h"
#include "sources/volume_identifier.h"
#include "survey/input_disk.h"
#include "times/iso_time.h"

namespace cdarchive {

namespace {

struct Label {
  std::string name;
  catalog::LabelSource source;
};

// A disk's label: the one given (--as), else its own: an image's volume
// identifier, the label of the volume mounted at the folder (or of the drive
// on Windows), else the last part of the folder's path (the drive letter on
// Windows).
Label labelOf(const std::string& given, const std::string& setting, platform::Disk& host) {
  if (!given.empty()) return {given, catalog::LabelSource::kGiven};
  if (std::optional<std::string> volume = sources::isoVolumeIdentifier(host, setting))
    return {*volume, catalog::LabelSource::kImage};
  if (std::optional<std::string> volume = host.volumeLabel(setting))
    return {*volume, catalog::LabelSource::kVolume};
  std::string path = host.resolve(setting).value_or(setting);
  while (path.size() > 1 && path.back() == platform::kPathSeparator) path.pop_back();
  const std::size_t slash = path.find_last_of(platform::kPathSeparator);
  return {slash == std::string::npos || slash + 1 == path.size() ? path : path.substr(slash + 1),
          catalog::LabelSource::kFolder};
}

// Tells digests every byte read, and progress how much that is.
class ReadingProgress : public base::FileBytesListener {
 public:
  ReadingProgress(base::FileBytesListener& digests, display::ProgressLine& progress)
      : digests_(digests), progress_(progress) {}
  void fileBegins(const std::string& path, int64_t length) override {
    digests_.fileBegins(path, length);
  }
  void fileBytes(std::string_view bytes) override {
    digests_.fileBytes(bytes);
    bytes_ += static_cast<int64_t>(bytes.size());
    progress_.note(base::counted(files_, "file") + " read, " + std::to_string(bytes_ >> 20) +
                   " MiB");
  }
  void fileUnreadable(base::ByteRange range) override { digests_.fileUnreadable(range); }
  void fileEnds() override {
    digests_.fileEnds();
    ++files_;
  }
  void fileSameAs(const std::string& path, const std::string& earlier) override {
    digests_.fileSameAs(path, earlier);
  }

 private:
  base::FileBytesListener& digests_;
  display::ProgressLine& progress_;
  int64_t files_ = 0;
  int64_t bytes_ = 0;
};

struct DiskToRead {
  const std::string& input;  // as named on the command line
  const walk::WalkSettings& walk;
  const Label& label;
  int64_t now;
  bool fixity;  // every byte read, a SHA-256 taken of each file
};

// A disk as read for the catalogue.
struct ReadDisk {
  catalog::CataloguedDisk disk;
  // Its directories whose listing could not be read, as the logs show paths:
  // what they hold is in neither its files nor its fixity.
  std::vector<std::string> unlisted;
};

// Reads the disk as the catalogue records it; nothing, told by voice, when it
// cannot be read.
std::optional<ReadDisk> readDisk(const DiskToRead& disk, platform::Disk& host,
                                 guard::WriteGuard& guard,
                                 std::optional<display::ProgressLine>& progress,
                                 base::Voice& voice) {
  walk::WalkSettings walk = disk.walk;
  catalog::FileFactsRecorder facts(walk);
  std::optional<fixity::FileDigests> digests;
  std::optional<ReadingProgress> reading;
  base::FileBytesListener* everyByte = nullptr;
  if (disk.fixity) {
    everyByte = &digests.emplace();
    if (progress) everyByte = &reading.emplace(*digests, *progress);
  }
  base::Outcome<survey::DiskSurvey> read = survey::surveyInputDisk(
      disk.input, walk, host, guard, progress ? &*progress : nullptr, &facts, everyByte);
  if (progress) progress->erase();
  for (const std::string& warning : read.warnings) voice.warn() << warning;
  if (!read) {
    voice.fail() << read.problem();
    return std::nullopt;
  }
  catalog::CataloguedDisk catalogued = catalog::cataloguedDisk(
      disk.label.name, disk.input, facts.listing(), disk.now, std::move(read->record), facts);
  catalogued.entry.stream = catalog::streamOf(walk);
  catalogued.entry.labelSource = disk.label.source;
  catalogued.entry.content = catalog::contentOf(catalogued.files, catalog::diskRootOf(disk.input));
  if (digests) {
    std::vector<fixity::FileFixity> held = digests->files();
    catalogued.manifest = platform::sha256Hex(fixity::manifestText(held));
    const base::Status taken = catalog::addFixity(catalogued, std::move(held),
                                                  *platform::diskRoot(walk.archiveDisk), facts);
    if (!taken) {
      voice.fail() << "disk " << base::printableName(disk.input) << ": " << taken.problem();
      return std::nullopt;
    }
  }
  return ReadDisk{std::move(catalogued), std::move(read->unreadableDirectories)};
}

// Tells of every file of disk with bytes that could not be read, and the time
// its records lost, as failures.
void reportUnreadable(const catalog::CataloguedDisk& disk, base::Voice& voice) {
  for (const fixity::FileFixity& held : disk.held) {
    if (held.size >= 0 && held.unreadable.empty()) continue;
    base::Voice::Line line = voice.fail();
    line << base::printableName(disk.entry.label) << ": " << base::printableName(held.path);
    if (held.size < 0) {
      line << " cannot be opened";
      continue;
    }
    line << ": unreadable bytes";
    for (const base::ByteRange& range : held.unreadable)
      line << " " << range.offset << ".." << range.offset + range.size - 1;
  }
  for (const catalog::CataloguedFile& file : disk.files) {
    for (const times::TimeSpan& lost : file.lost) {
      voice.fail() << base::printableName(disk.entry.label) << ": station "
                   << base::printableName(file.record.station) << ", " << times::isoTime(lost.start)
                   << " to " << times::isoTime(lost.end) << " lost (" << file.record.path << ")";
    }
  }
}

// That the catalogue holds no disk of label and stream, as a message: with the
// option that names the other stream, where the catalogue holds that.
std::string noDisk(catalog::Catalog& catalog, const std::string& label,
                   catalog::DiskStream stream) {
  const catalog::DiskStream other = stream == catalog::DiskStream::kTrigger
                                        ? catalog::DiskStream::kPermanent
                                        : catalog::DiskStream::kTrigger;
  std::string message = "no disk " + base::printableName(label) +
                        (stream == catalog::DiskStream::kTrigger ? " of the trigger stream" : "") +
                        " in the catalogue";
  if (const auto held = catalog.fixityOf(label, other); held && *held) {  // a hint: none on failure
    message += " (it holds its " + std::string(catalog::streamName(other)) +
               " stream: --stream=" + catalog::streamName(other) + ")";
  }
  return message;
}

// The value of outcome, a catalogue's answer; nothing when the catalogue
// failed, which voice tells.
template <typename T>
std::optional<T> told(base::Outcome<T> outcome, base::Voice& voice) {
  if (!outcome) {
    voice.fail() << base::printableName(outcome.problem());
    return std::nullopt;
  }
  return std::move(*outcome);
}

// The labels of the other catalogued disks whose content and stream equal
// disk's, the one the others copy first; nothing when the catalogue fails
// (voice tells it).
std::optional<std::vector<std::string>> copiesAmong(catalog::Catalog& catalog,
                                                    const catalog::DiskEntry& disk,
                                                    base::Voice& voice) {
  const std::optional<std::vector<catalog::DiskEntry>> holding =
      told(catalog.disksHolding(disk.content, disk.stream), voice);
  if (!holding) return std::nullopt;
  std::vector<std::string> labels;
  for (const catalog::DiskEntry& entry : *holding) {
    if (entry.label != disk.label) labels.push_back(entry.label);
  }
  return labels;
}

// Removes the disk of that label and stream and says what went, and which
// copies of it stay.
void removeDisk(catalog::Catalog& catalog, const std::string& label, catalog::DiskStream stream,
                std::ostream& out, base::Voice& voice) {
  const std::optional<std::optional<catalog::CataloguedDisk>> found =
      told(catalog.fixityOf(label, stream), voice);
  if (!found) return;
  if (!*found) {
    voice.fail() << noDisk(catalog, label, stream);
    return;
  }
  const catalog::DiskEntry& entry = (*found)->entry;
  const std::optional<std::vector<std::string>> copies = copiesAmong(catalog, entry, voice);
  if (!copies) return;
  const std::optional<bool> removed = told(catalog.removeDisk(label, stream), voice);
  if (!removed) return;
  if (!*removed) {  // removed by another writer meanwhile
    voice.fail() << noDisk(catalog, label, stream);
    return;
  }
  out << base::printableName(label)
      << (stream == catalog::DiskStream::kTrigger ? " (trigger stream)" : "") << ": removed, "
      << base::counted(entry.files, "file") << ", " << times::isoTimeOrNone(entry.first) << " .. "
      << times::isoTimeOrNone(entry.last);
  for (std::size_t i = 0; i < copies->size(); ++i) {
    out << (i == 0 ? (copies->size() == 1 ? "; its copy " : "; its copies ") : ", ")
        << base::printableName((*copies)[i]);
  }
  if (!copies->empty()) out << (copies->size() == 1 ? " stays" : " stay");
  out << "\n";
}

// Writes the manifest of the disk of that label; false (and why, told by voice) when
// there is no such disk, it has no fixity, or some of its files are left out
// for bytes that could not be read.
bool writeManifest(catalog::Catalog& catalog, const std::string& label, catalog::DiskStream stream,
                   std::ostream& out, base::Voice& voice) {
  const std::optional<std::optional<catalog::CataloguedDisk>> found =
      told(catalog.fixityOf(label, stream), voice);
  if (!found) return false;
  const std::optional<catalog::CataloguedDisk>& disk = *found;
  if (!disk) {
    voice.fail() << noDisk(catalog, label, stream);
    return false;
  }
  if (disk->manifest.empty()) {
    voice.fail() << "disk " << base::printableName(label)
                 << " was added without fixity: add it again without --no-fixity";
    return false;
  }
  out << fixity::manifestText(disk->held);
  bool whole = true;
  for (const fixity::FileFixity& held : disk->held) {
    if (!held.sha256.empty()) continue;
    whole = false;
    voice.fail() << base::printableName(held.path)
                 << ": left out, some of its bytes could not be read when the disk was added";
  }
  return whole;
}

// Why a disk read under label is not recorded over known, the disk catalogued
// under it, as match found them.
std::string refusal(const std::string& label, const catalog::CataloguedDisk& known,
                    catalog::DiskMatch match) {
  const std::string name = base::printableName(label);
  const catalog::DiskEntry& entry = known.entry;
  if (match == catalog::DiskMatch::kReadsOtherwise) {
    return name + ": the disk reads otherwise than when it was added on " +
           times::isoTime(entry.added) + " (cdarchive check tells how): not replaced; " +
           "--replace records it as it reads now";
  }
  return name + ": another disk is catalogued under this label (added " +
         times::isoTime(entry.added) + ", " + times::isoTimeOrNone(entry.first) + " .. " +
         times::isoTimeOrNone(entry.last) + ", " + base::counted(entry.files, "file") + ", from " +
         base::printableName(entry.source) + "): not added; --as=LABEL adds this one under " +
         "another label, --replace replaces that one";
}

// Whether the disk read from input under label may be recorded: every
// directory of it listed (what an unlisted one holds is unknown), and a data
// file of the stream on it unless options allow an empty disk; voice tells
// why not.
bool recordable(const ReadDisk& read, const std::string& label, const std::string& input,
                const ArchiveOptions& options, base::Voice& voice) {
  if (!read.unlisted.empty()) {
    for (const std::string& directory : read.unlisted) {
      voice.fail() << base::printableName(label) << ": directory " << directory
                   << " cannot be listed";
    }
    voice.fail() << base::printableName(label)
                 << ": not added, as what those directories hold is unknown";
    return false;
  }
  // Most often a mistake: a date folder given as the disk, another stream
  // letter or stream.
  if (read.disk.files.empty() && !options.allowEmpty) {
    voice.fail() << base::printableName(label) << ": no data file of the "
                 << catalog::streamName(catalog::streamOf(options.walk)) << " stream on it ("
                 << base::printableName(input)
                 << " is a disk's root? --mode, --stream, --first-byte and --ext choose the "
                    "files): not added; --allow-empty adds it empty";
    return false;
  }
  return true;
}

// Whether disk, read from input, is to be put over known, what the catalogue
// holds under its label and stream. A disk is known by what it holds: another
// disk, or the same one that reads otherwise now, is never put over it unless
// replace says so (voice tells why); the same disk is skipped (said on out),
// unless it brings the fixity that was not taken before.
bool putOver(const catalog::CataloguedDisk& known, const catalog::CataloguedDisk& disk,
             const std::string& input, bool replace, std::ostream& out, base::Voice& voice) {
  const std::string& label = disk.entry.label;
  const catalog::DiskMatch match =
      catalog::matchOf(known, catalog::recordedRootOf(known.entry.source, known.files), disk,
                       catalog::diskRootOf(input));
  if (match == catalog::DiskMatch::kSame) {
    if (known.manifest.empty() && !disk.manifest.empty()) return true;  // fixity now
    out << base::printableName(label) << ": unchanged, skipped\n";
    return false;
  }
  if (!replace) voice.fail() << refusal(label, known, match);
  return replace;
}

// Reads the nth of options' disks and records it, or tells why not.
void addDisk(const ArchiveOptions& options, std::size_t nth, catalog::Catalog& catalog,
             platform::Disk& host, guard::WriteGuard& guard,
             std::optional<display::ProgressLine>& progress, int64_t now, std::ostream& out,
             base::Voice& voice) {
  const std::string& input = options.disks[nth];
  walk::WalkSettings walk = options.walk;
  walk.archiveDisk = platform::diskSettingOf(input);
  const Label given = labelOf(options.label, walk.archiveDisk, host);
  if (progress) {
    progress->begin(voice.name() + ": disk " + std::to_string(nth + 1) + " of " +
                    std::to_string(options.disks.size()) + ", " + base::printableName(input));
  }
  const std::optional<ReadDisk> read =
      readDisk(DiskToRead{input, walk, given, now, options.fixity}, host, guard, progress, voice);
  if (!read || !recordable(*read, given.name, input, options, voice)) return;
  const catalog::CataloguedDisk& disk = read->disk;
  const std::optional<std::optional<catalog::CataloguedDisk>> held =
      told(catalog.fixityOf(given.name, catalog::streamOf(walk)), voice);
  if (!held) return;
  const std::optional<catalog::CataloguedDisk>& known = *held;
  if (known && !putOver(*known, disk, input, options.replace, out, voice)) return;
  if (options.fixity) reportUnreadable(disk, voice);
  const std::optional<std::vector<std::string>> copies = copiesAmong(catalog, disk.entry, voice);
  if (!copies) return;
  if (const base::Status put = catalog.putDisk(disk); !put) {
    voice.fail() << base::printableName(put.problem());
    return;
  }
  out << base::printableName(given.name)
      << (disk.entry.stream == catalog::DiskStream::kTrigger ? " (trigger stream)" : "") << ": "
      << (known ? "replaced" : "added") << ", "
      << (copies->empty() ? "" : "a copy of " + base::printableName(copies->front()) + ", ")
      << base::counted(disk.entry.files, "file") << ", " << times::isoTimeOrNone(disk.entry.first)
      << " .. " << times::isoTimeOrNone(disk.entry.last) << "\n";
}

// The disk of label and stream as the catalogue recorded it, with the fixity
// to check it against: its own, or for a copy added without fixity that of a
// disk of the same content. Nothing when there is none (voice tells why).
std::optional<catalog::CataloguedDisk> fixityToCheck(catalog::Catalog& catalog,
                                                     const std::string& label,
                                                     catalog::DiskStream stream,
                                                     base::Voice& voice) {
  std::optional<std::optional<catalog::CataloguedDisk>> held =
      told(catalog.fixityOf(label, stream), voice);
  if (!held) return std::nullopt;
  std::optional<catalog::CataloguedDisk> known = std::move(*held);
  if (!known) {
    voice.fail() << noDisk(catalog, label, stream) << " (--as names the label it was added under)";
    return std::nullopt;
  }
  const std::optional<std::vector<std::string>> copies = copiesAmong(catalog, known->entry, voice);
  if (!copies) return std::nullopt;
  for (const std::string& copy : *copies) {
    if (!known->manifest.empty()) break;
    std::optional<std::optional<catalog::CataloguedDisk>> other =
        told(catalog.fixityOf(copy, stream), voice);
    if (!other) return std::nullopt;
    if (*other && !(*other)->manifest.empty()) known = std::move(*other);
  }
  if (known->manifest.empty()) {
    voice.fail() << "disk " << base::printableName(label)
                 << " was added without fixity, and so were its copies: nothing to check against";
    return std::nullopt;
  }
  return known;
}

// Reads the one disk of options again, every byte, and audits it against what
// catalog recorded of it, or without one the manifest of options: 0 when every
// file matched, else 1.
int checkDisk(const ArchiveOptions& options, catalog::Catalog* catalog, platform::Disk& host,
              guard::WriteGuard& guard, std::optional<display::ProgressLine>& progress, int64_t now,
              std::ostream& out, base::Voice& voice) {
  const std::string& input = options.disks.front();
  walk::WalkSettings walk = options.walk;
  walk.archiveDisk = platform::diskSettingOf(input);
  const Label given = labelOf(options.label, walk.archiveDisk, host);
  const std::string& label = given.name;
  std::vector<fixity::FileFixity> recorded;
  std::optional<catalog::CataloguedDisk> known;  // what the catalogue recorded of it
  if (catalog == nullptr) {
    const base::Outcome<std::string> text = survey::readWholeFile(host, options.manifest);
    const base::Outcome<std::vector<fixity::FileFixity>> read =
        text ? fixity::readManifest(*text) : base::failure("it cannot be read");
    if (!read) {
      voice.fail() << "manifest " << base::printableName(options.manifest) << ": "
                   << read.problem();
      return 1;
    }
    recorded = std::move(*read);
  } else {
    known = fixityToCheck(*catalog, label, catalog::streamOf(walk), voice);
    if (!known) return 1;
    recorded = known->held;
  }
  if (progress) progress->begin(voice.name() + ": checking " + base::printableName(input));
  const std::optional<ReadDisk> read =
      readDisk(DiskToRead{input, walk, given, now, true}, host, guard, progress, voice);
  if (!read) return 1;
  std::vector<std::string> unlistedBelowRoot;  // as the audit names paths
  for (const std::string& directory : read->unlisted)
    unlistedBelowRoot.push_back(catalog::pathBelowRoot(directory, catalog::diskRootOf(input)));
  const std::vector<fixity::AuditEntry> entries =
      fixity::audit(recorded, read->disk.held, unlistedBelowRoot);
  std::vector<queries::LostTime> lost =
      known ? queries::checkLostTime(read->disk, catalog::diskRootOf(input), entries, *known,
                                     catalog::recordedRootOf(known->entry.source, known->files))
            : queries::lostTimeOf(read->disk);
  catalog::AuditRecord audit{now, read->disk.entry.source, 0, {}, lost};
  for (const fixity::AuditEntry& entry : entries) {
    if (entry.status == fixity::AuditStatus::kMatched) {
      ++audit.matched;
    } else {
      audit.findings.push_back(entry);
    }
  }
  out << queries::formatNamed(queries::checkFormats(), options.format)
             .write(queries::CheckedDisk{label, entries, std::move(lost)});
  // Remembered as the latest proof of the disk checked (which a copy's fixity
  // may have been the measure of).
  if (catalog != nullptr) {
    const catalog::DiskStream stream = catalog::streamOf(walk);
    const base::Outcome<bool> kept = catalog->recordAudit(label, stream, audit);
    if (!kept) {
      voice.fail() << base::printableName(kept.problem()) << ": the check is not recorded";
      return 1;
    }
    if (!*kept) {  // removed by another writer meanwhile
      voice.fail() << noDisk(*catalog, label, stream) << ": the check is not recorded";
      return 1;
    }
  }
  return audit.clean() ? 0 : 1;
}

// Why station names nothing in catalog, as a message: the stations it holds
// (the first 20), and those that differ from it only in case; nothing when it
// holds station.
std::optional<std::string> unknownStation(catalog::Catalog& catalog, const std::string& station) {
  const base::Outcome<std::vector<std::string>> held = catalog.stations();
  if (!held) return base::printableName(held.problem());
  const std::vector<std::string>& stations = *held;
  if (std::binary_search(stations.begin(), stations.end(), station)) return std::nullopt;
  constexpr std::size_t kShown = 20;
  std::string listed, alike;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const std::string name = base::printableName(stations[i]);
    if (i < kShown) listed += (i == 0 ? "" : ", ") + name;
    if (base::equalsIgnoringCase(stations[i], station)) alike += (alike.empty() ? "" : ", ") + name;
  }
  if (stations.size() > kShown)
    listed += " and " + std::to_string(stations.size() - kShown) + " more";
  return "no station " + base::printableName(station) +
         " in the catalogue (stations: " + (listed.empty() ? std::string("none") : listed) + ")" +
         (alike.empty() ? std::string() : "; differing only in case: " + alike);
}

// Tells by voice when the query of a station found nothing because the catalogue
// holds no such station; true then.
bool toldUnknown(catalog::Catalog& catalog, const std::string& station, bool foundNothing,
                 base::Voice& voice) {
  if (station.empty() || !foundNothing) return false;
  const std::optional<std::string> unknown = unknownStation(catalog, station);
  if (unknown) voice.fail() << *unknown;
  return unknown.has_value();
}

// The window to ask the catalogue for: only when both sides are given; else
// the station's files are read whole and cut afterwards.
std::optional<times::TimeSpan> windowOf(const ArchiveOptions& options) {
  if (options.from && options.to) return times::TimeSpan{*options.from, *options.to};
  return std::nullopt;
}

// Answers safety from catalog alone, on out: 1 when some data is held by no
// disk proven readable.
int answerSafety(const ArchiveOptions& options, catalog::Catalog& catalog, int64_t now,
                 std::ostream& out, base::Voice& voice) {
  const std::optional<std::vector<catalog::ProvenDisk>> disks =
      told(catalog::provenDisksOf(catalog, options.stream), voice);
  if (!disks) return 1;
  constexpr int64_t kEarliest = std::numeric_limits<int64_t>::min();
  constexpr int64_t kLatest = std::numeric_limits<int64_t>::max();
  const queries::SafetyReport report = queries::safetyOf(
      *disks, queries::SafetyQuery{options.station,
                                   {options.from.value_or(kEarliest), options.to.value_or(kLatest)},
                                   now,
                                   options.olderThan});
  if (toldUnknown(catalog, options.station, report.rows.empty(), voice)) return 1;
  out << queries::formatNamed(queries::safetyFormats(), options.format).write(report);
  return report.someLostEverywhere() ? 1 : 0;
}

// Answers find, availability or disks from catalog alone, on out.
int answerQuery(const ArchiveOptions& options, catalog::Catalog& catalog, int64_t now,
                std::ostream& out, base::Voice& voice) {
  switch (options.command) {
    case Command::kFind: {
      const std::optional<std::vector<catalog::CataloguedDisk>> found =
          told(catalog.filesOf(options.station, windowOf(options), options.stream), voice);
      if (!found || toldUnknown(catalog, options.station, found->empty(), voice)) return 1;
      out << queries::formatNamed(queries::findFormats(), options.format)
                 .write(queries::findIn(
                     *found, queries::FindQuery{options.station, options.from, options.to}));
      return 0;
    }
    case Command::kAvailability: {
      constexpr int64_t kEarliest = std::numeric_limits<int64_t>::min();
      constexpr int64_t kLatest = std::numeric_limits<int64_t>::max();
      const std::optional<std::vector<catalog::KeptSource>> found =
          told(catalog.sourcesOf(
                   options.station,
                   times::TimeSpan{options.from.value_or(kEarliest), options.to.value_or(kLatest)},
                   options.stream,
                   options.extent && options.mergeGaps == 0 ? catalog::SpanDetail::kExtent
                                                            : catalog::SpanDetail::kEvery),
               voice);
      if (!found || toldUnknown(catalog, options.station, found->empty(), voice)) return 1;
      out << queries::formatNamed(queries::availabilityFormats(), options.format)
                 .write(queries::availabilityOf(
                     *found, queries::AvailabilityQuery{options.from, options.to, options.extent,
                                                        options.mergeGaps, now}));
      return 0;
    }
    case Command::kDisks: {
      const std::optional<std::vector<catalog::DiskEntry>> disks = told(catalog.disks(), voice);
      if (!disks) return 1;
      out << queries::formatNamed(queries::disksFormats(), options.format).write(*disks);
      return 0;
    }
    default:  // the other commands change or read disks
      return 0;
  }
}

int runCommand(int argc, const char* const* argv, platform::Disk& host, std::ostream& out,
               base::Voice& voice, int64_t now, bool showProgress) {
  ArchiveOptions options;
  if (const std::optional<int> status = parseArchiveOptions(argc, argv, options, out, voice)) {
    return *status;
  }
  guard::WriteGuard guard(host);
  for (const std::string& disk : options.disks) guard.protect(platform::diskSettingOf(disk));
  // Even a catalogue only read may get files beside it: judged with them.
  if (const std::optional<std::string> refusal = catalog::refusalOf(options.catalog, guard)) {
    voice.fail() << *refusal;
    return 1;
  }
  std::optional<display::ProgressLine> progress;
  if (showProgress) progress.emplace(voice.stream());
  try {
    if (options.command == Command::kCheck && !options.manifest.empty())
      return checkDisk(options, nullptr, host, guard, progress, now, out, voice);
    const catalog::CatalogAccess access =
        options.command == Command::kAdd ? catalog::CatalogAccess::kCreate
        : options.command == Command::kRemove || options.command == Command::kCheck
            ? catalog::CatalogAccess::kWrite
            : catalog::CatalogAccess::kRead;
    const std::optional<std::unique_ptr<catalog::Catalog>> opened =
        told(catalog::openCatalog(options.catalog, access), voice);
    if (!opened) return 1;
    catalog::Catalog* const catalog = opened->get();
    switch (options.command) {
      case Command::kAdd:
        for (std::size_t nth = 0; nth < options.disks.size(); ++nth)
          addDisk(options, nth, *catalog, host, guard, progress, now, out, voice);
        return voice.status();
      case Command::kCheck:
        return checkDisk(options, catalog, host, guard, progress, now, out, voice);
      case Command::kFind:
      case Command::kAvailability:
      case Command::kDisks:
        return answerQuery(options, *catalog, now, out, voice);
      case Command::kSafety:
        return answerSafety(options, *catalog, now, out, voice);
      case Command::kRemove:
        removeDisk(*catalog, options.diskLabel, options.stream, out, voice);
        return voice.status();
      case Command::kManifest:
        return writeManifest(*catalog, options.diskLabel, options.stream, out, voice) ? 0 : 1;
    }
  } catch (const std::runtime_error& error) {  // libcrypto missing
    voice.fail() << base::printableName(error.what());
    return 1;
  }
  return 0;
}

}  // namespace

int runArchive(int argc, const char* const* argv, platform::Disk& host, std::ostream& out,
               std::ostream& err, int64_t now, bool showProgress) {
  base::Voice voice(kArchiveName, err);
  return cli::finishOutput(runCommand(argc, argv, host, out, voice, now, showProgress), out, voice);
}

}  // namespace cdarchive
