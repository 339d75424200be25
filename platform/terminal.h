#pragma once

namespace platform {

// True when the process's standard error is a terminal (a console on Windows),
// where progress lines may be shown.
bool standardErrorIsTerminal();

// A reader of standard output that goes away (a closed pipe) makes later
// writes to it fail instead of ending the process, so that the program still
// writes its other outputs whole and says how the run ended.
void failWritesToClosedPipes();

// Standard output carries exactly the bytes written: on Windows the C
// runtime would otherwise write each '\n' as "\r\n", and a CSV's "\r\n" as
// "\r\r\n". Outputs are then the same bytes on every host.
void writeStandardOutputAsBytes();

}  // namespace platform
