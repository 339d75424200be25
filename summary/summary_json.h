#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "summary/summarize.h"

namespace summary {

// The summary as JSON text (docs/cdcoverage-summary.schema.json), two-space
// indented, ending in a newline. It holds every file record, so that summaries
// of single disks can be merged later.
std::string summaryJson(const CoverageSummary& summary);

// The disks of a summary that summaryJson wrote; a failure saying why when
// text is not such a summary.
base::Outcome<std::vector<DiskRecord>> disksFromSummaryJson(std::string_view text);

}  // namespace summary
