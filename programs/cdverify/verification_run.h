#pragma once

#include <iosfwd>

#include "platform/disk.h"

namespace cdverify {

// One verification run of the disk named on the command line: reads the
// settings, builds the four logs, writes the start lines, walks and verifies the
// disk, writes the summary and the coverage report. Its result, the process's
// exit status, is always 0: what the disk holds is told only by the logs. The
// host disk holds the disk (a setting that names an ISO 9660 image is read
// through it as the image's tree) and receives the logs; "Data:" goes to out,
// and the logs and image problems that cannot be had are told on err. With
// showProgress (err is a terminal), err also shows how far the walk has come,
// on one line erased before the summary.
int runVerification(int argc, const char* const* argv, platform::Disk& host, std::ostream& out,
                    std::ostream& err, bool showProgress = false);

}  // namespace cdverify
