#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/byte_range.h"
#include "guard/write_guard.h"
#include "platform/disk.h"
#include "survey/disk_survey.h"
#include "survey/file_record.h"
#include "verify/verification_listener.h"
#include "walk/archive_walk.h"

namespace survey {

// Surveys the disk that input names (a folder, a drive letter given as g, g:
// or g:\ on Windows, or an ISO 9660 image) with walk's settings, as cdverify
// walks and checks it. guard learns the disk first, so that nothing is ever
// written into it. progress and also, when given, hear the walk and the
// verifier (surveyDisk). everyByte, when given, is told every byte of every
// file of the disk, read once for both (sources::openDisk); the directories
// that a whole read of a folder could not list are among the survey's
// unreadableDirectories with the walk's, in order. The outcome's warnings tell
// what of a readable image is read otherwise; its failure names the input.
base::Outcome<DiskSurvey> surveyInputDisk(const std::string& input, walk::WalkSettings& walk,
                                          platform::Disk& host, guard::WriteGuard& guard,
                                          walk::WalkProgress* progress = nullptr,
                                          verify::VerificationListener* also = nullptr,
                                          base::FileBytesListener* everyByte = nullptr);

// The whole content of the file at path; a failure when it cannot be read.
base::Outcome<std::string> readWholeFile(platform::Disk& disk, const std::string& path);

}  // namespace survey
