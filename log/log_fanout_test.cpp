#include "log/log_fanout.h"

#include <gtest/gtest.h>

#include "log/file_log.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scratch_dir.h"

namespace {

TEST(LogFanout, WritesToEverySinkInOrderOfAdding) {
  std::vector<std::string> order;
  struct Named : LogSink {
    Named(std::vector<std::string>* calls, std::string label)
        : order(calls), name(std::move(label)) {}
    void write(int32_t, int32_t, std::string_view, std::string_view) override {
      order->push_back(name);
    }
    std::vector<std::string>* order;
    std::string name;
  } first(&order, "first"), second(&order, "second");
  LogFanout fanout;
  EXPECT_EQ(fanout.add(&first), 0);
  EXPECT_EQ(fanout.add(&second), 0);
  fanout.write(LOG_INFO, 0, "m", "p");
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
}

TEST(LogFanout, FiftyFirstSinkIsRefused) {
  std::vector<RecordingSink> sinks(51);
  LogFanout fanout;
  for (int i = 0; i < 50; ++i) EXPECT_EQ(fanout.add(&sinks[static_cast<std::size_t>(i)]), 0);
  EXPECT_EQ(fanout.add(&sinks[50]), 1);
  EXPECT_EQ(fanout.sinkCount(), 50);
  fanout.write(LOG_INFO, 0, "m", "p");
  EXPECT_EQ(sinks[49].calls.size(), 1u);
  EXPECT_TRUE(sinks[50].calls.empty());
}

TEST(LogFanout, WithoutSinksDoesNothing) {
  LogFanout fanout;
  fanout.write(LOG_INFO, 0, "m", "p");
  EXPECT_EQ(fanout.sinkCount(), 0);
}

TEST(LogFanout, FourFilteredLogsOnOneFileWriteEachLevelOnce) {
  testsupport::ScratchDir dir;
  const std::string path = dir.file("log.out");
  LevelFilter info(LOG_INFO, LOG_INFO), warning(LOG_WARNING, LOG_WARNING),
      error(LOG_ERROR, LOG_ERROR), summary(LOG_SUMMARY, LOG_SUMMARY);
  FileLog infoLog(path, &info), warningLog(path, &warning), errorLog(path, &error),
      summaryLog(path, &summary);
  LogFanout fanout;
  for (LogSink* log : {&infoLog, &warningLog, &errorLog, &summaryLog}) fanout.add(log);
  for (int32_t level : {LOG_INFO, LOG_SUMMARY, LOG_WARNING, LOG_ERROR, 25}) {
    fanout.write(level, 0, std::to_string(level), "   ");
  }
  EXPECT_EQ(testsupport::readFile(path), "    10\r\n    20\r\n    30\r\n    40\r\n");
}

}  // namespace
