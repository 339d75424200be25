#include <iostream>

#include "platform/terminal.h"
#include "programs/cdverify/verification_run.h"

int main(int argc, char** argv) {
  return cdverify::runVerification(argc, argv, platform::systemDisk(), std::cout, std::cerr,
                                   platform::standardErrorIsTerminal());
}
