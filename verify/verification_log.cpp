#include "verify/verification_log.h"

#include <string>

namespace verify {

void VerificationLog::directoryEntered(std::string_view name) {
  sink_.write(logging::LOG_INFO, 0, " Directory " + std::string(name), logging::LOG_PREFIX);
}

void VerificationLog::fileStarted(std::string_view file) {
  sink_.write(logging::LOG_INFO, 0, " File " + std::string(file), logging::LOG_PREFIX);
}

void VerificationLog::found(const Finding& finding) {
  const int32_t level =
      severityOf(finding.kind) == Severity::kError ? logging::LOG_ERROR : logging::LOG_WARNING;
  const int32_t code = isClockFinding(finding.kind) ? 0 : logging::LOG_CODE_FILE_CHECK;
  const std::string_view prefix =
      finding.kind == FindingKind::kUnusable ? logging::LOG_PREFIX : finding.file;
  sink_.write(level, code, describe(finding), prefix);
}

}  // namespace verify
