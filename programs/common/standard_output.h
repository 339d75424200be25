#pragma once

#include <iosfwd>

namespace cli {

// Ends a run whose exit status is status: standard output is flushed, and when
// anything written to it failed (a full disk, a reader that went away, a short
// write) err says so in program's voice and the run fails with 1 instead.
int finishOutput(int status, std::ostream& out, const char* program, std::ostream& err);

}  // namespace cli
