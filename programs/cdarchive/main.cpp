#include <ctime>
#include <iostream>

#include "platform/terminal.h"
#include "programs/cdarchive/archive_run.h"

int main(int argc, char** argv) {
  platform::failWritesToClosedPipes();
  platform::writeStandardOutputAsBytes();
  return cdarchive::runArchive(argc, argv, platform::systemDisk(), std::cout, std::cerr,
                               static_cast<int64_t>(std::time(nullptr)),
                               platform::standardErrorIsTerminal());
}
