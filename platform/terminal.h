#pragma once

namespace platform {

// True when the process's standard error is a terminal (a console on Windows),
// where progress lines may be shown.
bool standardErrorIsTerminal();

}  // namespace platform
