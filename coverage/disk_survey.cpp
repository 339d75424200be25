#include "coverage/disk_survey.h"

#include "coverage/utf8_text.h"
#include "log/log_sink.h"
#include "platform/path_rules.h"
#include "verify/archive_verifier.h"

namespace {

// Collects a record per verified file. The clock checks are the checks whose
// warnings and errors carry code 0; the log is the way they are told.
class FileRecorder : public FileListener, public LogSink {
 public:
  FileRecorder(DiskRecord& disk, const SurveyProgress& progress)
      : disk_(disk), progress_(progress) {}

  void write(int32_t level, int32_t code, std::string_view message, std::string_view) override {
    if (code == 0 && (level == LOG_WARNING || level == LOG_ERROR)) {
      clockWarnings_.push_back(validUtf8(message));
    }
  }

  void fileVerified(const ArchiveVerifier& verifier, bool usable) override {
    FileRecord record;
    record.path = validUtf8(verifier.currentFile);
    record.usable = usable;
    if (usable) {
      const FileHeaderValues& header = verifier.header;
      const CarriedStation& station = verifier.station;  // follows every file
      lastStation_ = validUtf8(header.stationName.view());
      record.latitude = validUtf8(station.latitude.view());
      record.longitude = validUtf8(station.longitude.view());
      record.altitude = validUtf8(station.altitude.view());
      record.frequency = station.frequency;
      record.start = header.startInternal;
      record.end = record.start + header.realSeconds;
      record.clockWarnings = std::move(clockWarnings_);
    }
    record.station = lastStation_;
    clockWarnings_.clear();
    disk_.files.push_back(std::move(record));
    if (progress_) progress_(static_cast<int32_t>(disk_.files.size()));
  }

 private:
  DiskRecord& disk_;
  const SurveyProgress& progress_;
  std::string lastStation_;
  std::vector<std::string> clockWarnings_;
};

}  // namespace

std::optional<DiskRecord> surveyDisk(const WalkSettings& settings, platform::Disk& disk,
                                     const SurveyProgress& progress) {
  const std::optional<std::string> root = platform::diskRoot(settings.archiveDisk);
  if (!root || !disk.resolve(*root) || disk.list(*root + "*.*").empty()) return std::nullopt;
  DiskRecord record{validUtf8(settings.archiveDisk), {}};
  FileRecorder recorder(record, progress);
  ArchiveVerifier verifier(disk);
  verifier.log = &recorder;
  verifier.listener = &recorder;
  walkArchive(settings, disk, verifier);
  return record;
}
