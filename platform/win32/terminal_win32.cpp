#include <io.h>
#include <stdio.h>

#include "platform/terminal.h"

bool platform::standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
