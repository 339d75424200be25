#include <iostream>

#include "platform/terminal.h"
#include "programs/cdcoverage/coverage_run.h"

int main(int argc, char** argv) {
  platform::failWritesToClosedPipes();
  platform::writeStandardOutputAsBytes();
  return cdcoverage::runCoverage(argc, argv, platform::systemDisk(), std::cout, std::cerr,
                                 platform::standardErrorIsTerminal());
}
