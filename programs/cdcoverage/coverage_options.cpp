#include "programs/cdcoverage/coverage_options.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "programs/common/command_line_options.h"
#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace cdcoverage {

namespace {

// The summary's formats' names, the default first.
std::vector<std::string> summaryFormatNames() {
  std::vector<std::string> names;
  for (const summary::SummaryFormat& known : summary::summaryFormats())
    names.emplace_back(known.name);
  return names;
}

// Where the summary goes, what else is written, and the catalogue to read.
void addOutputOptions(CLI::App& app, CoverageOptions& options) {
  app.add_option("--output", options.output, "write the summary to FILE, not standard output");
  app.add_flag("--daily", options.daily,
               "write each station's availability per UTC day (percent covered, gaps and "
               "overlaps) in place of the summary");
  app.add_option("--svg", options.svg, "also draw the timeline as an SVG picture into FILE");
  app.add_option("--html", options.html,
                 "also write an interactive page of the archive into FILE (one file, usable "
                 "offline)");
  app.add_option("--catalog", options.catalog,
                 "also every disk of this cdarchive catalogue (an SQLite file or a postgresql:// "
                 "URL) of the stream --stream chooses, copies counted once");
}

}  // namespace

std::optional<int> parseCoverageOptions(int argc, const char* const* argv, CoverageOptions& options,
                                        std::ostream& out, base::Voice& voice) {
  CLI::App app(
      "Summarises the time that recorded-data disks cover: per station the covered spans, the "
      "gaps and overlaps, the coverage of a window and the events an operator should see. Each "
      "INPUT is a disk (a folder; a drive letter on Windows) or a JSON summary written before "
      "with --format=json.",
      kCoverageName);
  app.set_version_flag("--version", kCoverageVersion);
  app.footer(
      "Exit status: 0 the summary was written; 1 an input could not be read or an output "
      "written (the others are still summarised); 2 a bad option or value, or a window "
      "that ends before it starts.\n"
      "Examples: cdcoverage /media/cdrom; cdcoverage --format=json --output=d1.json disk1; "
      "cdcoverage --svg=archive.svg archive/*.json; "
      "cdcoverage --daily --format=csv archive/*.json; "
      "cdcoverage --html=archive.html archive/*.json");
  cli::WalkOptionTexts walkTexts;
  cli::addWalkOptions(app, walkTexts);
  std::string from, to;
  std::string gapTolerance = "0";
  app.add_option("--gap-tolerance", gapTolerance,
                 "gaps of at most this many seconds are not listed")
      ->check(cli::kSeconds)
      ->capture_default_str();
  app.add_option("--from", from,
                 "start of the coverage window (default: each station's first), as " +
                     std::string(times::kTypedTimeForms))
      ->check(cli::kTypedTime);
  app.add_option("--to", to, "end of the coverage window (default: each station's last)")
      ->check(cli::kTypedTime);
  cli::addFormatOption(app, options.format, summaryFormatNames());
  addOutputOptions(app, options);
  app.add_option("INPUT", options.inputs, "disks and JSON summaries");

  if (const std::optional<int> status = cli::parseCommandLine(app, argc, argv, out, voice)) {
    return status;
  }
  if (options.inputs.empty() && options.catalog.empty()) {
    voice.fail() << "no INPUT given, and no --catalog\n"
                 << "Run with --help for more information.";
    return 2;
  }
  options.summary.gapToleranceSeconds = *cli::secondsOf(gapTolerance);
  if (!from.empty()) options.summary.from = times::parseTypedTime(from);
  if (!to.empty()) options.summary.to = times::parseTypedTime(to);
  if (options.summary.from && options.summary.to && *options.summary.to < *options.summary.from) {
    voice.fail() << "--to lies before --from";
    return 2;
  }
  cli::applyWalkOptions(walkTexts, options.walk);
  return std::nullopt;
}

}  // namespace cdcoverage
