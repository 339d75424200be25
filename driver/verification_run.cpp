#include "driver/verification_run.h"

#include <string>

#include "base/text_format.h"
#include "driver/command_line.h"
#include "log/file_log.h"
#include "log/level_filter.h"
#include "log/log_fanout.h"
#include "report/coverage_report.h"
#include "verify/archive_verifier.h"
#include "walk/archive_walk.h"

namespace {

WalkSettings walkSettingsOf(const RunSettings& settings) {
  WalkSettings walk;
  walk.archiveDisk.fill(settings.archiveDisk.view());
  walk.fileExtension.fill(settings.fileExtension.view());
  walk.planeMode = settings.planeMode;
  walk.triggerStream = settings.triggerStream;
  walk.streamLetter = settings.streamLetter;
  // The second form of the letter: its code plus 32 in 8 bits ('P' gives 'p').
  walk.streamLetterAlt =
      static_cast<char>(static_cast<uint8_t>(static_cast<uint8_t>(settings.streamLetter) + 32u));
  return walk;
}

void writeSummary(const RunSettings& settings, const RunCounters& counters, LogSink& log) {
  const std::string disk(settings.archiveDisk.view());
  const std::string lines[] = {
      "VELK CD-archive verification program v.1.1 \n",
      formatText("Summary for disk %s operation \n", disk.c_str()),
      formatText(" directories: %d \n", counters.directoryCount),
      formatText(" files: %d \n", counters.fileCount),
      formatText(" errors: %d \n", counters.errorCount),
      formatText(" warnings: %d \n", counters.warningCount),
  };
  for (const std::string& line : lines) log.write(LOG_SUMMARY, 0, line, LOG_PREFIX);
}

}  // namespace

int runVerification(int argc, const char* const* argv) {
  return runVerification(argc, argv, platform::systemDisk());
}

int runVerification(int argc, const char* const* argv, platform::Disk& disk) {
  RunSettings settings;
  parseCommandLine(argc, argv, settings);

  const WalkSettings walk = walkSettingsOf(settings);
  ArchiveVerifier verifier(disk);

  // One log per level, all in "log.out" unless named apart.
  const LevelFilter infoFilter(LOG_INFO, LOG_INFO), warningFilter(LOG_WARNING, LOG_WARNING),
      errorFilter(LOG_ERROR, LOG_ERROR), summaryFilter(LOG_SUMMARY, LOG_SUMMARY);
  FileLog infoLog(std::string(settings.infoLogName.view()), &infoFilter, disk);
  FileLog warningLog(std::string(settings.warningLogName.view()), &warningFilter, disk);
  FileLog errorLog(std::string(settings.errorLogName.view()), &errorFilter, disk);
  FileLog summaryLog(std::string(settings.summaryLogName.view()), &summaryFilter, disk);
  LogFanout log;
  log.add(&infoLog);
  log.add(&warningLog);
  log.add(&errorLog);
  log.add(&summaryLog);
  verifier.log = &log;

  log.write(LOG_INFO, 0, "Start to operate disk", LOG_PREFIX);
  log.write(LOG_INFO, 0, settings.archiveDisk.view(), LOG_PREFIX);
  walkArchive(walk, disk, verifier);
  writeSummary(settings, verifier.counters, log);

  verifier.coverage->sortByStart(SORT_ASCENDING);
  reportStation(verifier.station, log);
  reportSpan(verifier.coverage.get(), log);
  reportIntervals(verifier.coverage.get(), log);
  return 0;
}
