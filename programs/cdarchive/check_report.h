#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "fixity/audit.h"

namespace cdarchive {

// A data file's time lost to bytes that cannot be read.
struct LostTime {
  std::string station;
  std::string path;  // as the logs show it
  times::TimeSpan span;
};

// The data files of disk with lost time, in the walk's order.
std::vector<LostTime> lostTimeOf(const catalog::CataloguedDisk& disk);

// What `cdarchive check` writes in format ("text" or "json") of the disk
// labelled label: in text, each file not matched (status and path, a moved
// file's former path, an unreadable one's byte ranges), the time lost, and a
// summary line of the counts; in JSON, every file.
std::string checkReport(const std::string& label, const std::vector<fixity::AuditEntry>& entries,
                        const std::vector<LostTime>& lost, const std::string& format);

}  // namespace cdarchive
