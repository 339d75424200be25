#pragma once

#include <cstdint>
#include <iosfwd>

#include "platform/disk.h"

namespace cdarchive {

// One cdarchive run: reads the command line and runs its command against the
// catalogue. Disks are read through host, never written; the catalogue is
// written only where guard::WriteGuard allows (never inside a disk or an image).
// now is the time of the run (seconds since 1970 UTC), recorded as when a disk
// was added. With showProgress (err is a terminal), err also shows how far the
// disks have been read. Returns the exit status: 2 for a bad command line; 1
// when a disk or the catalogue could not be read or written (each named on
// err; other disks are still added), or out could not be written whole; else 0.
int runArchive(int argc, const char* const* argv, platform::Disk& host, std::ostream& out,
               std::ostream& err, int64_t now, bool showProgress = false);

}  // namespace cdarchive
