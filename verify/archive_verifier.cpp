#include "verify/archive_verifier.h"

ArchiveVerifier::ArchiveVerifier(platform::Disk& disk, platform::ProfileDialect dialect)
    : coverage(std::make_unique<IntervalList>(0)), disk_(disk), dialect_(dialect) {}

void ArchiveVerifier::reportAboutFile(int32_t level, int32_t code, const std::string& message,
                                      int32_t& counter) {
  if (log == nullptr) return;
  log->write(level, code, message, currentFile);
  ++counter;
}
