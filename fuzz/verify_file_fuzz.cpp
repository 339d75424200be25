// libFuzzer target: the whole per-file verification of one data file on an
// in-memory disk, after a valid file so that every carried value is compared,
// and the report of what it covered.

#include <cstddef>
#include <cstdint>
#include <string>

#include "log/log_sink.h"
#include "report/station_report.h"
#include "tests/support/memory_disk.h"
#include "tools/datagen/data_file.h"
#include "verify/archive_verifier.h"
#include "verify/verification_log.h"

namespace {

class DiscardingSink : public logging::LogSink {
 public:
  void write(int32_t, int32_t, std::string_view, std::string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const std::string kValidFile = datagen::DataFile().bytes();
  testsupport::MemoryDisk disk;
  disk.addFile("g/", "P1.DAT", kValidFile);
  disk.addFile("g/", "P2.DAT", std::string(reinterpret_cast<const char*>(data), size));
  DiscardingSink log;
  for (const auto dialect : {profile::ProfileDialect::kPosix, profile::ProfileDialect::kWindows}) {
    verify::ArchiveVerifier verifier(disk, dialect);
    verify::VerificationLog logged(log);
    verifier.addListener(logged);
    verifier.verifyFile("g/P1.DAT");
    verifier.verifyFile("g/P2.DAT");
    verifier.verifyFile("g/P2.DAT");
    verifier.coverage().sortByStart(times::SORT_ASCENDING);
    report::reportStation(verifier.station(), log);
    report::reportSpan(&verifier.coverage(), log);
  }
  return 0;
}
