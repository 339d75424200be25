#pragma once

#include <string>

#include "summary/summarize.h"

// The summary for a person to read.
std::string summaryText(const CoverageSummary& summary);

// One row per timespan, gap and overlap of each station and per gap and overlap
// between disks: kind|station|start|end|seconds|disk, under a header row.
// Fields holding the delimiter, a quote or a line break are quoted as RFC 4180
// says; the disk field lists the disks a row comes from, separated by commas.
std::string summaryCsv(const CoverageSummary& summary);

// A self-contained SVG timeline: a row per disk with its covered spans, a
// merged row per station with its gaps, overlaps and events, and a dated axis.
// Spans closer than a pixel are drawn as one bar, so its size follows the
// picture's width, not the number of files.
std::string timelineSvg(const CoverageSummary& summary);

// "1d 2h 3m 4s" of a count of seconds.
std::string durationText(int64_t seconds);
