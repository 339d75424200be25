#include <unistd.h>

#include <csignal>

#include "platform/terminal.h"

bool platform::standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void platform::failWritesToClosedPipes() { std::signal(SIGPIPE, SIG_IGN); }

void platform::writeStandardOutputAsBytes() {}
