#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_disk.h"
#include "tests/support/recording_sink.h"
#include "tools/datagen/data_file.h"
#include "verify/archive_verifier.h"
#include "verify/verification_log.h"

// A verifier over an in-memory disk, with a recording log attached.
class VerifierTest : public ::testing::Test {
 protected:
  VerifierTest() : verifier(disk, profile::ProfileDialect::kPosix) { verifier.addListener(logged); }

  // Puts bytes on the disk as name and returns its path.
  std::string put(const std::string& name, std::string bytes) {
    disk.addFile("disk/", name, std::move(bytes));
    return "disk/" + name;
  }
  std::string write(const std::string& name, const datagen::DataFile& file) {
    return put(name, file.bytes());
  }

  testsupport::MemoryDisk disk;
  RecordingSink log;
  verify::VerificationLog logged{log};  // the verifier's lines as cdverify writes them
  verify::ArchiveVerifier verifier;
};
