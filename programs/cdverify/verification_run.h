#pragma once

#include "platform/disk.h"

// One verification run of the disk named on the command line: reads the
// settings, builds the four logs, writes the start lines, walks and verifies the
// disk, writes the summary and the coverage report. Its result, the process's
// exit status, is always 0: what the disk holds is told only by the logs.
int runVerification(int argc, const char* const* argv);

// The same run over the given host disk, which also receives the logs. A disk
// setting that names an ISO 9660 image is read through it as the image's tree.
int runVerification(int argc, const char* const* argv, platform::Disk& host);
