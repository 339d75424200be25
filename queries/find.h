#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "queries/report_format.h"

namespace queries {

struct FindQuery {
  std::string station;
  std::optional<int64_t> from;  // each side defaults to the station's first
  std::optional<int64_t> to;    // start and last end among the files given
};

// A file's part of the window.
struct FoundPart {
  const catalog::CataloguedDisk* disk;
  const catalog::CataloguedFile* file;
  times::TimeSpan part;
};

// A disk to fetch: the part of the window its files hold, and how many; the
// labels of its copies, any of which will do as well.
struct DiskToFetch {
  const catalog::CataloguedDisk* disk;
  times::TimeSpan part;
  std::size_t files = 0;
  std::vector<std::string> copies;
};

// What to fetch from the shelf for a station's window. It points into the
// disks it was found among, which must outlive it.
struct FoundWindow {
  std::string station;
  times::TimeSpan window;
  std::vector<FoundPart> parts;    // by start
  std::vector<DiskToFetch> disks;  // in the order they are first needed
  std::vector<times::TimeSpan> gaps;
};

// Of the usable files of the query's station among found (a disk's copies
// named beside it, not counted again), those that cover part of the window,
// in time order with the part each covers; the disks they lie on in the order
// they are first needed, with the part of the window each holds; and the
// window's gaps.
FoundWindow findIn(const std::vector<catalog::CataloguedDisk>& found, const FindQuery& query);

// `cdarchive find`'s formats: "text", "csv" and "json".
const std::vector<ReportFormat<FoundWindow>>& findFormats();

}  // namespace queries
