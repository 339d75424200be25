#include "programs/common/standard_output.h"

#include <ostream>

namespace cli {

int finishOutput(int status, std::ostream& out, base::Voice& voice) {
  if (out.flush()) return status;
  voice.fail() << "standard output cannot be written: what it shows is incomplete";
  voice.stream() << std::flush;
  return 1;
}

}  // namespace cli
