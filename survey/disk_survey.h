#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "platform/disk.h"
#include "survey/file_record.h"
#include "walk/archive_walk.h"

namespace survey {

// What a survey found of a disk.
struct DiskSurvey {
  DiskRecord record;
  // Directories whose listing could not be read, in the walk's order, as the
  // logs show paths: what they hold is not in record.
  std::vector<std::string> unreadableDirectories;
};

// Walks and verifies the disk named in settings.archiveDisk exactly as cdverify
// does (the same walk, header reading and checks, no logs written) and keeps a
// record of every data file. A failure when the disk cannot be found. progress,
// when given, hears of the walk's listings and of every file; also, when given,
// hears the verifier too, after the record of each file is kept.
base::Outcome<DiskSurvey> surveyDisk(const walk::WalkSettings& settings, platform::Disk& disk,
                                     walk::WalkProgress* progress = nullptr,
                                     verify::VerificationListener* also = nullptr);

}  // namespace survey
