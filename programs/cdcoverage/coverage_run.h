#pragma once

#include <iosfwd>

#include "platform/disk.h"

namespace cdcoverage {

// One cdcoverage run: reads the command line, reads every input (disks through
// disk, JSON summaries as files), then writes the summary and the timeline.
// Returns the exit status: 2 for a bad command line; 1 when an input could not
// be read (each named on err, the others still summarised) or an output could
// not be written (out too: the files named are still written whole); else 0. Nothing is ever
// written to a disk. With showProgress (err is a terminal), err also shows how far the inputs have
// been read, on one line erased before anything else is written.
int runCoverage(int argc, const char* const* argv, platform::Disk& disk, std::ostream& out,
                std::ostream& err, bool showProgress = false);

}  // namespace cdcoverage
