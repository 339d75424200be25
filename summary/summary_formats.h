#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "summary/summarize.h"

namespace summary {

// The summary for a person to read.
std::string summaryText(const CoverageSummary& summary);

// One row per timespan, gap and overlap of each station and per gap and overlap
// between disks: kind|station|start|end|seconds|disk, under a header row.
// Fields holding the delimiter, a quote or a line break are quoted as RFC 4180
// says; the disk field lists the disks a row comes from, the files field an
// overlap's files, separated by commas, a comma or a backslash within a name
// escaped with a backslash.
std::string summaryCsv(const CoverageSummary& summary);

// text as a field of a CSV row, quoted as RFC 4180 says when it holds the
// delimiter "|", a quote or a line break.
std::string csvField(const std::string& text);

// names as one field of a CSV row: comma-separated, a comma or a backslash
// within a name escaped with a backslash, so that every name can be told apart
// again.
std::string csvList(const std::vector<std::string>& names);

// A self-contained SVG timeline: a row per disk with its covered spans, a
// merged row per station with its gaps, overlaps and events, and a dated axis.
// Spans closer than a pixel are drawn as one bar, so its size follows the
// picture's width, not the number of files.
std::string timelineSvg(const CoverageSummary& summary);

// The daily availability of each station (dailyAvailability), with the gap
// tolerance it was counted with: a table for a person to read, CSV (one row a
// station and day, fields as summaryCsv quotes them) and JSON.
std::string dailyText(const CoverageSummary& summary);
std::string dailyCsv(const CoverageSummary& summary);
std::string dailyJson(const CoverageSummary& summary);

// A self-contained HTML page of the archive, usable offline: per station a
// timeline that zooms from the whole archive to seconds (gaps coloured by
// length, overlaps and events), the disks as a lane of their own, a calendar
// of daily availability, and the unusable files. The page carries the spans
// themselves, not an element per file, and draws what is in view.
std::string coveragePage(const CoverageSummary& summary);

// A way to write the summary, and its daily availability, as --format names it.
struct SummaryFormat {
  std::string_view name;
  std::string (*write)(const CoverageSummary& summary);
  std::string (*writeDaily)(const CoverageSummary& summary);
};

// Every format, the default first.
const std::vector<SummaryFormat>& summaryFormats();

// The format of that name; null when there is none.
const SummaryFormat* findSummaryFormat(std::string_view name);

}  // namespace summary
