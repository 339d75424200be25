#pragma once

#include <string_view>

#include "verify/finding.h"

namespace verify {

class ArchiveVerifier;

// Told what the verifier does, in order: the directories the walk enters, each
// file as its verification starts, every finding, and each file as its
// verification ends. Every method does nothing unless overridden.
class VerificationListener {
 public:
  virtual ~VerificationListener() = default;
  // name: the directory's name as the logs show it.
  virtual void directoryEntered(std::string_view /*name*/) {}
  // path: a directory whose listing could not be read, as the logs show paths;
  // what it holds is not verified.
  virtual void directoryUnreadable(std::string_view /*path*/) {}
  // file: the path as the logs show it.
  virtual void fileStarted(std::string_view /*file*/) {}
  virtual void found(const Finding& /*finding*/) {}
  // Called last for every file. For a usable file the verifier's header and
  // station hold this file's values; an unusable one changed nothing.
  virtual void fileVerified(const ArchiveVerifier& /*verifier*/, bool /*usable*/) {}
};

}  // namespace verify
