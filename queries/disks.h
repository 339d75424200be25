#pragma once

#include <vector>

#include "catalog/catalog.h"
#include "queries/report_format.h"

namespace queries {

// `cdarchive disks`'s formats: "text", a table for a person (columns aligned,
// names as the logs show them), "csv" (fields separated by '|' and quoted
// where they hold one, a quote or a line end, CR LF lines) and "json". Each
// disk's label, stream, the disk it copies, where its label came from, source,
// files, bytes, first and last time, when it was added, when it was last
// proven readable and how it stands (DiskEntry).
const std::vector<ReportFormat<std::vector<catalog::DiskEntry>>>& disksFormats();

}  // namespace queries
