#pragma once

namespace platform {

// True when the process's standard error is a terminal (a console on Windows),
// where progress lines may be shown.
bool standardErrorIsTerminal();

// A reader of standard output that goes away (a closed pipe) makes later
// writes to it fail instead of ending the process, so that the program still
// writes its other outputs whole and says how the run ended.
void failWritesToClosedPipes();

}  // namespace platform
