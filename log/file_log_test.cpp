#include "log/file_log.h"

#include <gtest/gtest.h>

#include "tests/support/memory_disk.h"

namespace logging {

namespace {

// One write through a file log on an in-memory disk; returns the bytes appended.
std::string lineOf(int32_t level, int32_t code, const std::string& message,
                   const std::string& prefix, bool showLevelAndCode = false,
                   bool showPrefix = true) {
  testsupport::MemoryDisk disk;
  FileLog log("log.out", nullptr, disk);
  log.showLevel = log.showCode = showLevelAndCode;
  log.showPrefix = showPrefix;
  log.write(level, code, message, prefix);
  return disk.logs["log.out"];
}

TEST(FileLog, LineIsItsPiecesEachFollowedByABlankThenTheMessageAndCrLf) {
  EXPECT_EQ(lineOf(LOG_INFO, 0, "Start to operate disk", "   "), "    Start to operate disk\r\n");
  EXPECT_EQ(lineOf(LOG_SUMMARY, 0, "v.1.1 \n", "   "), "    v.1.1 \n\r\n");
  EXPECT_EQ(lineOf(LOG_WARNING, 100, "Latitude", "g/P1.DAT"), "g/P1.DAT Latitude\r\n");
  EXPECT_EQ(lineOf(LOG_INFO, 0, "", "   "), "    \r\n");
  EXPECT_EQ(lineOf(5, 100, "m", "p", true), "05 100 p m\r\n");
  EXPECT_EQ(lineOf(-5, 7, "m", "p", true), "-05 07 p m\r\n");
  EXPECT_EQ(lineOf(LOG_INFO, 0, "m", "ignored", false, false), "m\r\n");
  const std::string message(300, 'm'), prefix(150, 'p');
  EXPECT_EQ(lineOf(LOG_INFO, 0, message, prefix), prefix + " " + message + "\r\n");  // never cut
}

TEST(FileLog, FilterDecidesAndAFailedAppendIsRetriedWithTheNextLine) {
  testsupport::MemoryDisk disk;
  const LevelFilter warningsOnly(LOG_WARNING, LOG_WARNING);
  FileLog log("log.out", &warningsOnly, disk);
  log.write(LOG_INFO, 0, "info", "   ");
  EXPECT_EQ(disk.logs.count("log.out"), 0u);
  disk.unwritable["log.out"] = true;
  log.write(LOG_WARNING, 0, "lost", "   ");
  disk.unwritable.clear();
  log.write(LOG_WARNING, 0, "warn", "   ");
  EXPECT_EQ(disk.logs["log.out"], "    warn\r\n");
  EXPECT_TRUE(warningsOnly.accepts(LOG_WARNING));
  EXPECT_FALSE(warningsOnly.accepts(LOG_WARNING + 1) || warningsOnly.accepts(LOG_WARNING - 1));
}

}  // namespace

}  // namespace logging
