#include "tests/support/console.h"

namespace testsupport {

std::string consoleText(std::string_view text) {
  std::string translated;
  for (const char c : text) {
    if (c == '\n') translated += '\r';
    translated += c;
  }
  return translated;
}

}  // namespace testsupport
