#include "log/file_log.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace {

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

class FileLogTest : public ::testing::Test {
 protected:
  std::string logPath() const { return dir.file("log.out"); }
  std::string logged() const { return readFile(logPath()); }
  ScratchDir dir;
};

TEST_F(FileLogTest, DefaultLineIsPrefixBlankMessageCrLf) {
  FileLog log(logPath(), nullptr);
  log.write(LOG_INFO, 0, "Start to operate disk", "   ");
  EXPECT_EQ(logged(), "    Start to operate disk\r\n");
}

TEST_F(FileLogTest, MessageEndingInLineFeedEndsInLfCrLf) {
  FileLog log(logPath(), nullptr);
  log.write(LOG_SUMMARY, 0, "VELK CD-archive verification program v.1.1 \n", "   ");
  EXPECT_EQ(logged(), "    VELK CD-archive verification program v.1.1 \n\r\n");
}

TEST_F(FileLogTest, WarningLineStartsWithThePathPrefix) {
  FileLog log(logPath(), nullptr);
  log.write(LOG_WARNING, 100, "Latitude 2 differ from previous file's latitude 1", "g/P1.DAT");
  EXPECT_EQ(logged(), "g/P1.DAT Latitude 2 differ from previous file's latitude 1\r\n");
}

TEST_F(FileLogTest, EmptyMessageGivesPrefixPieceAndCrLf) {
  FileLog log(logPath(), nullptr);
  log.write(LOG_INFO, 0, "", "   ");
  EXPECT_EQ(logged(), "    \r\n");
}

TEST_F(FileLogTest, LevelAndCodePiecesArePaddedToTwoDigits) {
  FileLog log(logPath(), nullptr);
  log.showLevel = true;
  log.showCode = true;
  log.write(5, 100, "m", "p");
  log.write(LOG_WARNING, 0, "m", "p");
  log.write(-5, 7, "m", "p");
  EXPECT_EQ(logged(), "05 100 p m\r\n30 00 p m\r\n-05 07 p m\r\n");
}

TEST_F(FileLogTest, WithoutPrefixPieceOnlyTheMessageIsWritten) {
  FileLog log(logPath(), nullptr);
  log.showPrefix = false;
  log.write(LOG_INFO, 0, "m", "ignored");
  EXPECT_EQ(logged(), "m\r\n");
}

TEST_F(FileLogTest, LongMessageAndPrefixAreWrittenWhole) {
  FileLog log(logPath(), nullptr);
  const std::string message(300, 'm');
  const std::string prefix(150, 'p');
  log.write(LOG_INFO, 0, message, prefix);
  EXPECT_EQ(logged(), prefix + " " + message + "\r\n");
}

TEST_F(FileLogTest, FilterRejectsOtherLevelsWithoutTouchingTheFile) {
  LevelFilter warningsOnly(LOG_WARNING, LOG_WARNING);
  FileLog log(logPath(), &warningsOnly);
  log.write(LOG_INFO, 0, "info", "   ");
  EXPECT_FALSE(std::filesystem::exists(logPath()));
  log.write(LOG_WARNING, 0, "warn", "   ");
  EXPECT_EQ(logged(), "    warn\r\n");
}

TEST_F(FileLogTest, ExistingFileIsAppendedTo) {
  writeFile(logPath(), "earlier run\r\n");
  FileLog log(logPath(), nullptr);
  log.write(LOG_INFO, 0, "next", "   ");
  EXPECT_EQ(logged(), "earlier run\r\n    next\r\n");
}

TEST_F(FileLogTest, LogInMissingDirectoryLosesLinesQuietlyAndRetries) {
  const std::string path = dir.file("later/log.out");
  FileLog log(path, nullptr);
  log.write(LOG_INFO, 0, "lost", "   ");
  std::filesystem::create_directory(dir.path() / "later");
  log.write(LOG_INFO, 0, "kept", "   ");
  EXPECT_EQ(readFile(path), "    kept\r\n");
}

TEST(LevelFilter, BoundsAreInclusive) {
  LevelFilter filter(LOG_SUMMARY, LOG_WARNING);
  EXPECT_FALSE(filter.accepts(LOG_INFO));
  EXPECT_TRUE(filter.accepts(LOG_SUMMARY));
  EXPECT_TRUE(filter.accepts(25));
  EXPECT_TRUE(filter.accepts(LOG_WARNING));
  EXPECT_FALSE(filter.accepts(LOG_ERROR));
}

}  // namespace
