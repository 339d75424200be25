#include "survey/disk_survey.h"

#include "platform/path_rules.h"
#include "survey/utf8_text.h"
#include "verify/archive_verifier.h"

namespace survey {

namespace {

// Collects a record per verified file, with the findings of its clock checks.
class FileRecorder : public verify::VerificationListener {
 public:
  explicit FileRecorder(DiskSurvey& survey) : survey_(survey) {}

  void found(const verify::Finding& finding) override {
    if (verify::isClockFinding(finding.kind)) {
      clockWarnings_.push_back(validUtf8(verify::describe(finding)));
    }
  }

  void directoryUnreadable(std::string_view path) override {
    survey_.unreadableDirectories.emplace_back(path);
  }

  void fileVerified(const verify::ArchiveVerifier& verifier, bool usable) override {
    FileRecord record;
    record.path = validUtf8(verifier.currentFile());
    record.usable = usable;
    if (usable) {
      const verify::FileHeaderValues& header = verifier.header();
      const verify::CarriedStation& station = verifier.station();  // follows every file
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
    survey_.record.files.push_back(std::move(record));
  }

 private:
  DiskSurvey& survey_;
  std::string lastStation_;
  std::vector<std::string> clockWarnings_;
};

}  // namespace

base::Outcome<DiskSurvey> surveyDisk(const walk::WalkSettings& settings, platform::Disk& disk,
                                     walk::WalkProgress* progress,
                                     verify::VerificationListener* also) {
  const std::optional<std::string> root = platform::diskRoot(settings.archiveDisk);
  if (!root || !disk.resolve(*root)) return base::failure("no such disk, or nothing on it");
  // A root that cannot be listed is walked, and told as such.
  const base::Outcome<std::vector<platform::DirectoryEntry>> listed = disk.list(*root + "*.*");
  if (listed && listed->empty()) return base::failure("no such disk, or nothing on it");
  DiskSurvey survey{{validUtf8(settings.archiveDisk), {}}, {}};
  FileRecorder recorder(survey);
  verify::ArchiveVerifier verifier(disk);
  verifier.addListener(recorder);
  if (also != nullptr) verifier.addListener(*also);
  if (progress != nullptr) verifier.addListener(*progress);
  walk::walkArchive(settings, disk, verifier, progress);
  return survey;
}

}  // namespace survey
