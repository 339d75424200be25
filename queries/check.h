#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "fixity/audit.h"
#include "queries/report_format.h"

namespace queries {

using catalog::LostTime;

// The data files of disk with lost time, in the walk's order.
std::vector<LostTime> lostTimeOf(const catalog::CataloguedDisk& disk);

// The time a check found lost on the disk read again (read, whose paths start
// with readRoot, as the logs show paths): that of lostTimeOf(read), and for
// each file the audit calls unreadable that was a usable data file when it was
// recorded (recorded, its paths starting with recordedRoot) and is none now,
// the whole time it held then: no record of it can be used.
std::vector<LostTime> checkLostTime(const catalog::CataloguedDisk& read,
                                    const std::string& readRoot,
                                    const std::vector<fixity::AuditEntry>& entries,
                                    const catalog::CataloguedDisk& recorded,
                                    const std::string& recordedRoot);

// A disk's audit: its label, each file's entry, and the time lost.
struct CheckedDisk {
  std::string label;
  std::vector<fixity::AuditEntry> entries;
  std::vector<LostTime> lost;
};

// `cdarchive check`'s formats: "text", each file not matched (status and path,
// a moved file's former path, an unreadable one's byte ranges), the time lost,
// and a summary line of the counts; "json", every file.
const std::vector<ReportFormat<CheckedDisk>>& checkFormats();

}  // namespace queries
