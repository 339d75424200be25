#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// text as a program's standard output carries it on this host: unchanged on
// POSIX; with every "\n" written as CR LF on Windows, whose C runtime keeps
// standard output in text mode.
std::string consoleText(std::string_view text);

}  // namespace testsupport
