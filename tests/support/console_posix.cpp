#include "tests/support/console.h"

namespace testsupport {

std::string consoleText(std::string_view text) { return std::string(text); }

}  // namespace testsupport
