#include "programs/common/standard_output.h"

#include <ostream>

namespace cli {

int finishOutput(int status, std::ostream& out, const char* program, std::ostream& err) {
  if (out.flush()) return status;
  err << program << ": standard output cannot be written: what it shows is incomplete\n"
      << std::flush;
  return 1;
}

}  // namespace cli
