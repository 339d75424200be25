#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "base/voice.h"
#include "summary/summarize.h"
#include "walk/archive_walk.h"

namespace cdcoverage {

// The program's name, which begins its messages.
inline constexpr const char* kCoverageName = "cdcoverage";

// "cdcoverage" and the project's version, as --version answers.
inline constexpr const char* kCoverageVersion = "cdcoverage " CDVERIFY_VERSION;

struct CoverageOptions {
  walk::WalkSettings walk;  // archiveDisk is set per disk input
  summary::SummaryOptions summary;
  std::string format = "text";  // one of summaryFormats()
  std::string output;           // empty: standard output
  bool daily = false;           // the daily availability in place of the summary
  std::string svg;              // empty: no timeline
  std::string html;             // empty: no page
  std::string catalog;          // empty: none; else every disk of this catalogue is an input too
  std::vector<std::string> inputs;
};

// Reads the GNU-style command line into options. Returns the exit status when
// the run must end here: 0 after --help or --version (written to out), 2 after
// a bad option or value (a message in voice); nothing when the run goes on.
std::optional<int> parseCoverageOptions(int argc, const char* const* argv, CoverageOptions& options,
                                        std::ostream& out, base::Voice& voice);

}  // namespace cdcoverage
