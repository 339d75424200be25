#include "times/duration.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace times {

namespace {

TEST(Duration, PiecesTruncateTowardZeroAndTheTextShowsTheMagnitude) {
  EXPECT_EQ(durationText(93784), "1d 2h 3m 4s");
  EXPECT_EQ(durationText(-61), "-0d 0h 1m 1s");
  EXPECT_EQ(durationText(INT64_MIN), "-106751991167300d 15h 30m 8s");
  const DurationParts parts = splitDuration(-90061);  // the pieces the report prints
  EXPECT_EQ(parts.days, -1);
  EXPECT_EQ(parts.hours, -1);
  EXPECT_EQ(parts.minutes, -1);
  EXPECT_EQ(parts.seconds, -1);
}

}  // namespace

}  // namespace times
