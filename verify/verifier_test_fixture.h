#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/recording_sink.h"
#include "platform/directory_lister.h"
#include "platform/profile_reader.h"
#include "tests/support/scratch_dir.h"
#include "tools/datagen/data_file.h"
#include "verify/archive_verifier.h"

// A verifier over a scratch directory, with a recording log attached.
class VerifierTest : public ::testing::Test {
 protected:
  VerifierTest() : verifier(platform::systemDirectoryLister(), platform::systemProfileReader()) {
    verifier.log = &log;
  }

  // Writes file as name in the scratch directory and returns its path.
  std::string write(const std::string& name, const datagen::DataFile& file) {
    file.writeTo(dir.path() / name);
    return dir.file(name);
  }

  // The messages logged so far at level, in order.
  std::vector<std::string> messagesAt(int32_t level) const {
    std::vector<std::string> messages;
    for (const auto& call : log.calls) {
      if (call.level == level) messages.push_back(call.message);
    }
    return messages;
  }

  testsupport::ScratchDir dir;
  RecordingSink log;
  ArchiveVerifier verifier;
};
