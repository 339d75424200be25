#pragma once

#include <iosfwd>

#include "base/voice.h"

namespace cli {

// Ends a run whose exit status is status: standard output is flushed, and when
// anything written to it failed (a full disk, a reader that went away, a short
// write) voice says so and the run fails with 1 instead.
int finishOutput(int status, std::ostream& out, base::Voice& voice);

}  // namespace cli
