#include "verify/archive_verifier.h"

#include "base/printable_name.h"

namespace verify {

ArchiveVerifier::ArchiveVerifier(platform::Disk& disk, profile::ProfileDialect dialect)
    : disk_(disk), dialect_(dialect) {}

void ArchiveVerifier::addListener(VerificationListener& listener) {
  listeners_.push_back(&listener);
}

void ArchiveVerifier::enterDirectory(std::string_view name) {
  ++counters_.directoryCount;
  const std::string shown = base::printableName(name);
  for (VerificationListener* listener : listeners_) listener->directoryEntered(shown);
}

void ArchiveVerifier::directoryUnreadable(std::string_view path) {
  const std::string shown = base::printableName(path);
  for (VerificationListener* listener : listeners_) listener->directoryUnreadable(shown);
}

void ArchiveVerifier::report(Finding finding) {
  if (listeners_.empty() && finding.kind != FindingKind::kUnusable) return;
  finding.file = currentFile_;
  ++(severityOf(finding.kind) == Severity::kError ? counters_.errorCount : counters_.warningCount);
  for (VerificationListener* listener : listeners_) listener->found(finding);
}

}  // namespace verify
