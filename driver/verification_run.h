#pragma once

#include "platform/directory_lister.h"
#include "platform/profile_reader.h"

// One verification run of the disk named on the command line: reads the
// settings, builds the four logs, writes the start lines, walks and verifies the
// disk, writes the summary and the coverage report. Its result, the process's
// exit status, is always 0: what the disk holds is told only by the logs.
int runVerification(int argc, const char* const* argv);

// The same run with the given directory lister and header reader.
int runVerification(int argc, const char* const* argv, platform::DirectoryLister& lister,
                    platform::ProfileReader& profile);
