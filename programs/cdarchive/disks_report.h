#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"

namespace cdarchive {

// What `cdarchive disks` writes in format: "text", a table for a person
// (columns aligned, names as the logs show them), "csv" (fields separated by
// '|' and quoted where they hold one, a quote or a line end, CR LF lines) or
// "json". Each disk's label, source, files, bytes, first and last time, and
// when it was added.
std::string disksReport(const std::vector<catalog::DiskEntry>& disks, const std::string& format);

}  // namespace cdarchive
