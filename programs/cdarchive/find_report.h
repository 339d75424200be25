#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"

namespace cdarchive {

struct FindQuery {
  std::string station;
  std::optional<int64_t> from;  // each side defaults to the station's first
  std::optional<int64_t> to;    // start and last end among the files given
};

// What `cdarchive find` writes in format ("text", "csv" or "json"): of the
// usable files of the query's station among found, those that cover part of
// the window, in time order with the part each covers; the disks they lie on
// in the order they are first needed, with the part of the window each holds;
// and the window's gaps. What to fetch from the shelf.
std::string findReport(const std::vector<catalog::CataloguedDisk>& found, const FindQuery& query,
                       const std::string& format);

}  // namespace cdarchive
