#include "programs/cdcoverage/coverage_run.h"

#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/ascii_case.h"
#include "base/printable_name.h"
#include "catalog/disk_identity.h"
#include "catalog/open_catalog.h"
#include "display/progress_line.h"
#include "guard/write_guard.h"
#include "programs/cdcoverage/coverage_options.h"
#include "programs/common/standard_output.h"
#include "queries/safety.h"
#include "summary/distinct_disks.h"
#include "summary/summary_formats.h"
#include "summary/summary_json.h"
#include "survey/input_disk.h"
#include "times/iso_time.h"

namespace cdcoverage {

namespace {

bool isSummaryFile(const std::string& input) {
  return input.size() >= 5 && base::equalsIgnoringCase(input.substr(input.size() - 5), ".json");
}

// Writes bytes as the whole of path, unless the guard refuses it: the
// archive is only ever read. When it is not written, voice tells why, and an
// earlier file of that name is left as it was.
void writeFile(const std::string& path, const std::string& bytes, guard::WriteGuard& guard,
               platform::Disk& disk, base::Voice& voice) {
  const std::string name = base::printableName(path);
  if (const std::optional<guard::WriteGuard::Refusal> refusal = guard.refusal(path)) {
    voice.fail() << name << " " << refusal->reason << ": it is not written";
  } else if (const base::Status written = disk.replaceFile(path, bytes); !written) {
    voice.fail() << "cannot write " << name << ": " << written.problem();
  }
}

// What one input gave.
struct InputDisks {
  std::vector<survey::DiskRecord> disks;
  std::vector<std::string> unlisted;  // directories that could not be listed
};

// Reads one input: a JSON summary (a name ending in ".json"), or a disk, which
// is walked with walk's settings and protected by guard.
base::Outcome<InputDisks> readInput(const std::string& input, walk::WalkSettings& walk,
                                    platform::Disk& host, walk::WalkProgress* progress,
                                    guard::WriteGuard& guard) {
  const std::string name = base::printableName(input);
  if (isSummaryFile(input)) {
    const base::Outcome<std::string> text = survey::readWholeFile(host, input);
    if (!text) return base::failure("summary " + name + ": cannot be opened");
    base::Outcome<std::vector<survey::DiskRecord>> disks = summary::disksFromSummaryJson(*text);
    if (!disks) return base::failure("summary " + name + ": " + disks.problem());
    return InputDisks{std::move(*disks), {}};
  }
  base::Outcome<survey::DiskSurvey> disk =
      survey::surveyInputDisk(input, walk, host, guard, progress);
  base::Outcome<InputDisks> read = base::failure(disk.problem());
  if (disk) {
    read = InputDisks{{std::move(disk->record)}, std::move(disk->unreadableDirectories)};
  }
  read.warnings = std::move(disk.warnings);
  return read;
}

// Adds every disk of the catalogue named of the walk's stream, each under its
// label, but for copies, which voice tells of and counts once; and, where
// provenCopies is given (the page draws them), per station the disks proven
// readable that hold each piece of its time, copies each counted. The problem
// when it cannot be read, or guard refuses what it may write.
std::optional<std::string> readCatalog(
    const std::string& name, const walk::WalkSettings& walk, guard::WriteGuard& guard,
    std::vector<survey::DiskRecord>& disks,
    std::map<std::string, std::vector<summary::SpanWithDisks>>* provenCopies, base::Voice& voice) {
  if (std::optional<std::string> refusal = catalog::refusalOf(name, guard)) return refusal;
  const catalog::DiskStream stream = catalog::streamOf(walk);
  const base::Outcome<std::unique_ptr<catalog::Catalog>> opened =
      catalog::openCatalog(name, catalog::CatalogAccess::kRead);
  if (!opened) return opened.problem();
  base::Outcome<std::vector<catalog::ProvenDisk>> proven = catalog::provenDisksOf(**opened, stream);
  if (!proven) return proven.problem();
  constexpr times::TimeSpan kAllTime{std::numeric_limits<int64_t>::min(),
                                     std::numeric_limits<int64_t>::max()};
  if (provenCopies != nullptr)
    *provenCopies = queries::provenCopiesOf(*proven, queries::SafetyQuery{"", kAllTime, 0, {}});
  for (catalog::ProvenDisk& provenDisk : *proven) {
    catalog::CataloguedDisk& disk = provenDisk.disk;
    if (disk.entry.copyOf) {
      voice.warn() << "disk " << base::printableName(disk.entry.label) << " of catalogue "
                   << base::printableName(catalog::shownCatalogName(name)) << " is a copy of disk "
                   << base::printableName(*disk.entry.copyOf) << ": it is counted once";
      continue;
    }
    survey::DiskRecord record{disk.entry.label, {}};
    for (catalog::CataloguedFile& file : disk.files) record.files.push_back(std::move(file.record));
    disks.push_back(std::move(record));
  }
  return std::nullopt;
}

// Warns of each disk given again, named by where it came from (sourceOf, per
// disk), and of each name that several disks share.
void tellRepeatsApart(const summary::DistinctDisks& distinct,
                      const std::vector<std::string>& sourceOf, base::Voice& voice) {
  for (const summary::RepeatedDisk& repeated : distinct.repeated) {
    voice.warn() << base::printableName(sourceOf[repeated.copy]) << " holds the same disk as "
                 << base::printableName(sourceOf[repeated.original]) << ": it is counted once";
  }
  for (const summary::SharedName& shared : distinct.sharedNames) {
    const std::string name = base::printableName(shared.name);
    voice.warn() << shared.disks << " different disks are named " << name
                 << ": they are told apart as " << name << " (1) to " << name << " ("
                 << shared.disks << ")";
  }
}

// The disks of every input and of the catalogue, each with where it came from.
struct GatheredDisks {
  std::vector<survey::DiskRecord> disks;
  std::vector<std::string> sourceOf;  // of each disk: the input, or its label in the catalogue
  std::map<std::string, std::vector<summary::SpanWithDisks>> provenCopies;  // of the catalogue's
};

// Reads every input of options, then the catalogue's disks; each input that
// cannot be read is told by voice, and the others are still gathered.
GatheredDisks gatherDisks(CoverageOptions& options, platform::Disk& disk, guard::WriteGuard& guard,
                          base::Voice& voice, bool showProgress) {
  GatheredDisks gathered;
  std::optional<display::ProgressLine> progress;
  if (showProgress) progress.emplace(voice.stream());
  for (std::size_t i = 0; i < options.inputs.size(); ++i) {
    const std::string& input = options.inputs[i];
    if (progress) {
      progress->begin(voice.name() + ": input " + std::to_string(i + 1) + " of " +
                      std::to_string(options.inputs.size()) + ", " + base::printableName(input));
    }
    base::Outcome<InputDisks> read =
        readInput(input, options.walk, disk, progress ? &*progress : nullptr, guard);
    if (progress && (!read || !read.warnings.empty() || !read->unlisted.empty())) progress->erase();
    for (const std::string& warning : read.warnings) voice.warn() << warning;
    if (!read) {
      voice.fail() << read.problem();
      continue;
    }
    for (const std::string& directory : read->unlisted) {
      voice.fail() << "disk " << base::printableName(input) << ": directory " << directory
                   << " cannot be listed: what it holds is left out";
    }
    for (survey::DiskRecord& record : read->disks) {
      gathered.disks.push_back(std::move(record));
      gathered.sourceOf.push_back(input);
    }
  }
  progress.reset();
  if (options.catalog.empty()) return gathered;
  if (std::optional<std::string> problem =
          readCatalog(options.catalog, options.walk, guard, gathered.disks,
                      options.html.empty() ? nullptr : &gathered.provenCopies, voice)) {
    voice.fail() << base::printableName(*problem);
  }
  for (std::size_t i = gathered.sourceOf.size(); i < gathered.disks.size(); ++i) {
    gathered.sourceOf.push_back("disk " + gathered.disks[i].name + " of catalogue " +
                                catalog::shownCatalogName(options.catalog));
  }
  return gathered;
}

// Writes the summary in options' format to standard output or its file, and
// the timeline and the page where asked; each failure is told by voice.
void writeOutputs(const CoverageOptions& options, const summary::CoverageSummary& summary,
                  guard::WriteGuard& guard, platform::Disk& disk, std::ostream& out,
                  base::Voice& voice) {
  const summary::SummaryFormat& format = *summary::findSummaryFormat(options.format);
  const std::string text = (options.daily ? format.writeDaily : format.write)(summary);
  if (options.output.empty()) {
    out << text;  // a failure is told once the other outputs are written
  } else {
    writeFile(options.output, text, guard, disk, voice);
  }
  if (!options.svg.empty())
    writeFile(options.svg, summary::timelineSvg(summary), guard, disk, voice);
  if (!options.html.empty())
    writeFile(options.html, summary::coveragePage(summary), guard, disk, voice);
}

int summarizeInputs(int argc, const char* const* argv, platform::Disk& disk, std::ostream& out,
                    base::Voice& voice, bool showProgress) {
  CoverageOptions options;
  if (const std::optional<int> status = parseCoverageOptions(argc, argv, options, out, voice)) {
    return *status;
  }
  guard::WriteGuard guard(disk);
  GatheredDisks gathered = gatherDisks(options, disk, guard, voice, showProgress);
  summary::DistinctDisks distinct = summary::distinctDisks(std::move(gathered.disks));
  tellRepeatsApart(distinct, gathered.sourceOf, voice);

  summary::CoverageSummary summary = summarize(std::move(distinct.disks), options.summary);
  summary.provenCopies = std::move(gathered.provenCopies);
  // One side of the window given, the other a station's own: it may still end
  // before it starts.
  for (const summary::StationSummary& station : summary.stations) {
    if (station.firstStart && station.window.end < station.window.start) {
      voice.fail() << "the window of station " << base::printableName(station.station)
                   << " ends before it starts: " << times::isoTime(station.window.start) << " .. "
                   << times::isoTime(station.window.end);
      return 2;
    }
  }
  writeOutputs(options, summary, guard, disk, out, voice);
  return voice.status();
}

}  // namespace

int runCoverage(int argc, const char* const* argv, platform::Disk& disk, std::ostream& out,
                std::ostream& err, bool showProgress) {
  base::Voice voice(kCoverageName, err);
  return cli::finishOutput(summarizeInputs(argc, argv, disk, out, voice, showProgress), out, voice);
}

}  // namespace cdcoverage
