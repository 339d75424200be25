#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/disk.h"
#include "summary/file_record.h"
#include "walk/archive_walk.h"

namespace summary {

// Called after every data file with the number of files read so far.
using SurveyProgress = std::function<void(int32_t files)>;

// Walks and verifies the disk named in settings.archiveDisk exactly as cdverify
// does (the same walk, header reading and checks, no logs written) and keeps a
// record of every data file. Nothing when the disk cannot be found.
std::optional<DiskRecord> surveyDisk(const walk::WalkSettings& settings, platform::Disk& disk,
                                     const SurveyProgress& progress = {});

}  // namespace summary
