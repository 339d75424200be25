#include <iostream>

#include "programs/cdcoverage/coverage_run.h"

int main(int argc, char** argv) {
  return cdcoverage::runCoverage(argc, argv, platform::systemDisk(), std::cout, std::cerr);
}
