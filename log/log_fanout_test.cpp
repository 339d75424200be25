#include "log/log_fanout.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"

namespace logging {

namespace {

TEST(LogFanout, WritesToEachSinkInOrderOfAddingAndRefusesTheFiftyFirst) {
  std::vector<RecordingSink> sinks(51);
  LogFanout fanout;
  fanout.write(LOG_INFO, 0, "before any sink", "p");
  for (std::size_t i = 0; i < 50; ++i) EXPECT_EQ(fanout.add(&sinks[i]), 0);
  EXPECT_EQ(fanout.add(&sinks[50]), 1);
  EXPECT_EQ(fanout.sinkCount(), 50);
  fanout.write(LOG_WARNING, 100, "m", "p");
  for (std::size_t i = 0; i < 50; ++i) {
    EXPECT_EQ(sinks[i].calls, (std::vector<RecordingSink::Call>{{LOG_WARNING, 100, "m", "p"}}));
  }
  EXPECT_TRUE(sinks[50].calls.empty());
}

}  // namespace

}  // namespace logging
