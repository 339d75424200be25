#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "platform/terminal.h"

bool platform::standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

// Windows ends no process for writing to a closed pipe: the write fails.
void platform::failWritesToClosedPipes() {}

void platform::writeStandardOutputAsBytes() { _setmode(_fileno(stdout), _O_BINARY); }
