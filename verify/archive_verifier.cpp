#include "verify/archive_verifier.h"

#include <algorithm>

ArchiveVerifier::ArchiveVerifier(platform::DirectoryLister& lister,
                                 platform::ProfileReader& profile)
    : coverage(std::make_unique<IntervalList>(0)), lister_(lister), profile_(profile) {}

void ArchiveVerifier::reportAboutFile(int32_t level, int32_t code, const std::string& message,
                                      int32_t& counter) {
  if (log == nullptr) return;
  log->write(level, code, message, currentFile);
  ++counter;
}

int32_t ArchiveVerifier::usedChannels() const {
  return std::clamp(streamChannels, int32_t{0}, kMaxChannels);
}
