#pragma once

#include "log/log_sink.h"
#include "verify/verification_listener.h"

namespace verify {

// Writes what the verifier tells as cdverify's log lines: " Directory <name>"
// and " File <path>" at info level, a finding at its severity's level with code
// LOG_CODE_FILE_CHECK for the file checks and 0 for the clock checks, prefixed
// with the file's path (the unusable-file error with LOG_PREFIX, as a line of
// its own).
class VerificationLog : public VerificationListener {
 public:
  // sink is not owned and must outlive this listener.
  explicit VerificationLog(logging::LogSink& sink) : sink_(sink) {}

  void directoryEntered(std::string_view name) override;
  void fileStarted(std::string_view file) override;
  void found(const Finding& finding) override;

 private:
  logging::LogSink& sink_;
};

}  // namespace verify
