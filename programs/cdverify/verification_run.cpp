#include "programs/cdverify/verification_run.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "base/voice.h"
#include "display/progress_line.h"
#include "guard/write_guard.h"
#include "log/file_log.h"
#include "log/level_filter.h"
#include "log/log_fanout.h"
#include "platform/host_profile_dialect.h"
#include "programs/cdverify/command_line.h"
#include "report/station_report.h"
#include "sources/disk_image.h"
#include "verify/archive_verifier.h"
#include "verify/data_file_bytes.h"
#include "verify/verification_log.h"
#include "walk/archive_walk.h"

namespace cdverify {

namespace {

walk::WalkSettings walkSettingsOf(const RunSettings& settings) {
  walk::WalkSettings walk;
  walk.archiveDisk = settings.archiveDisk.view();
  walk.fileExtension = settings.fileExtension.view();
  walk.planeMode = settings.planeMode;
  walk.triggerStream = settings.triggerStream;
  walk.streamLetter = settings.streamLetter;
  return walk;
}

// Where the four logs (info, warning, error, summary) lead, and which of them
// may be written.
struct LogPlaces {
  std::vector<std::string> resolved;
  bool writable[4] = {};
};

// A log that the guard refuses is never opened: the archive is only ever
// read. Its lines are lost, and standard error says so once per log file; a log
// that cannot be reached could not be opened anyway, and is lost unannounced.
LogPlaces placeLogs(const RunSettings& settings, platform::Disk& host, base::Voice& voice) {
  guard::WriteGuard guard(host);
  guard.protect(settings.archiveDisk.view());
  const std::string names[] = {
      std::string(settings.infoLogName.view()), std::string(settings.warningLogName.view()),
      std::string(settings.errorLogName.view()), std::string(settings.summaryLogName.view())};
  LogPlaces places;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::optional<guard::WriteGuard::Refusal> refusal = guard.refusal(names[i]);
    places.writable[i] = !refusal;
    if (const base::Outcome<std::string> place = host.resolve(names[i])) {
      places.resolved.push_back(*place);
    }
    const bool saidBefore = std::find(names, names + i, names[i]) != names + i;
    if (refusal && !refusal->unreachable && !saidBefore) {
      voice.warn() << "log " << base::printableName(names[i]) << " " << refusal->reason
                   << ": it is not written";
    }
  }
  return places;
}

void writeSummary(const RunSettings& settings, const verify::RunCounters& counters,
                  logging::LogSink& log) {
  const std::string disk = base::printableName(settings.archiveDisk.view());
  const std::string lines[] = {
      "VELK CD-archive verification program v.1.1 \n",
      base::formatText("Summary for disk %s operation \n", disk.c_str()),
      base::formatText(" directories: %d \n", counters.directoryCount),
      base::formatText(" files: %d \n", counters.fileCount),
      base::formatText(" errors: %d \n", counters.errorCount),
      base::formatText(" warnings: %d \n", counters.warningCount),
  };
  for (const std::string& line : lines)
    log.write(logging::LOG_SUMMARY, 0, line, logging::LOG_PREFIX);
}

// Tells what keeps the disk of settings from being read as it is: an image
// that cannot be read or is read otherwise, a disk that is not there. The run
// goes on as for an empty disk, so the logs and the exit status stay what
// scripts expect. Whether it told anything.
bool tellDiskProblems(const RunSettings& settings, const base::Outcome<sources::OpenedDisk>& opened,
                      platform::Disk& host, base::Voice& voice) {
  const std::string name = base::printableName(settings.archiveDisk.view());
  if (!opened) voice.warn() << "disk image " << name << " cannot be read: " << opened.problem();
  for (const std::string& warning : opened.warnings)
    voice.warn() << "disk image " << name << ": " << warning;
  if (!opened) return true;
  if (opened->disk != &host) return !opened.warnings.empty();
  if (const base::Status walkable = walk::walkableDisk(settings.archiveDisk.view(), host);
      !walkable) {
    voice.warn() << "disk " << name << ": " << walkable.problem();
    return true;
  }
  return !opened.warnings.empty();
}

// A disk that was read but held no data file of the stream asked for (a
// wrong -firstbyte, a -mode that finds no date folders) is said, as a missing
// disk is; the logs and the exit status stay as they are.
void tellNothingFound(const RunSettings& settings, base::Voice& voice) {
  const std::string name = base::printableName(settings.archiveDisk.view());
  if (settings.triggerStream) {
    voice.warn() << "disk " << name << ": no data file of the trigger stream found";
  } else {
    voice.warn() << "disk " << name << ": no data file of stream "
                 << base::printableName(std::string(1, settings.streamLetter)) << " found";
  }
}

}  // namespace

int runVerification(int argc, const char* const* argv, platform::Disk& host, std::ostream& out,
                    std::ostream& err, bool showProgress) {
  base::Voice voice("cdverify", err);
  RunSettings settings;
  parseCommandLine(argc, argv, settings);
  const base::Outcome<sources::OpenedDisk> opened =
      sources::openDisk(std::string(settings.archiveDisk.view()), host,
                        verify::verificationKeepPolicy(platform::kHostProfileDialect));
  const bool diskProblemTold = tellDiskProblems(settings, opened, host, voice);
  platform::Disk& disk = opened ? *opened->disk : host;

  walk::WalkSettings walk = walkSettingsOf(settings);
  if (!opened) walk.archiveDisk.clear();          // an image that cannot be read: nothing is found
  std::optional<display::ProgressLine> progress;  // outlives the verifier that tells it
  if (showProgress) progress.emplace(voice.stream());
  verify::ArchiveVerifier verifier(disk);

  // One log per level, all in "log.out" unless named apart.
  const logging::LevelFilter infoFilter(logging::LOG_INFO, logging::LOG_INFO),
      warningFilter(logging::LOG_WARNING, logging::LOG_WARNING),
      errorFilter(logging::LOG_ERROR, logging::LOG_ERROR),
      summaryFilter(logging::LOG_SUMMARY, logging::LOG_SUMMARY);
  logging::FileLog infoLog(std::string(settings.infoLogName.view()), &infoFilter, disk);
  logging::FileLog warningLog(std::string(settings.warningLogName.view()), &warningFilter, disk);
  logging::FileLog errorLog(std::string(settings.errorLogName.view()), &errorFilter, disk);
  logging::FileLog summaryLog(std::string(settings.summaryLogName.view()), &summaryFilter, disk);
  logging::LogFanout log;
  const LogPlaces places = placeLogs(settings, host, voice);
  logging::FileLog* const logs[] = {&infoLog, &warningLog, &errorLog, &summaryLog};
  for (std::size_t i = 0; i < 4; ++i) {
    if (places.writable[i]) log.add(logs[i]);
  }
  walk.runLogs = places.resolved;
  verify::VerificationLog verificationLog(log);
  verifier.addListener(verificationLog);

  log.write(logging::LOG_INFO, 0, "Start to operate disk", logging::LOG_PREFIX);
  log.write(logging::LOG_INFO, 0, base::printableName(settings.archiveDisk.view()),
            logging::LOG_PREFIX);
  if (progress) {
    progress->begin(voice.name() + ": disk " + base::printableName(settings.archiveDisk.view()));
    verifier.addListener(*progress);
  }
  walk::walkArchive(walk, disk, verifier, progress ? &*progress : nullptr);
  if (progress) progress->erase();
  if (verifier.counters().fileCount == 0 && !diskProblemTold) tellNothingFound(settings, voice);
  writeSummary(settings, verifier.counters(), log);

  verifier.coverage().sortByStart(times::SORT_ASCENDING);
  report::reportStation(verifier.station(), log);
  report::reportSpan(&verifier.coverage(), log);
  report::reportIntervals(&verifier.coverage(), log, out);
  return 0;
}

}  // namespace cdverify
