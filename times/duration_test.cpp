#include "times/duration.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

TEST(Duration, AgesAreDigitsAndOneUnit) {
  const std::vector<std::pair<std::string, std::optional<int64_t>>> cases = {
      {"5y", 5 * 31536000},
      {"90d", 90 * 86400},
      {"2w", 1209600},
      {"36h", 129600},
      {"10m", 600},
      {"0s", 0},
      {"007d", 7 * 86400},
      {"292471208678y", std::nullopt},  // beyond 64 bits of seconds
      {"9223372036854775807s", INT64_MAX},
      {"9223372036854775808s", std::nullopt},
      {"5", std::nullopt},
      {"y", std::nullopt},
      {"", std::nullopt},
      {"-5y", std::nullopt},
      {"5 y", std::nullopt},
      {"5Y", std::nullopt},
      {"1.5y", std::nullopt}};
  for (const auto& [text, seconds] : cases) EXPECT_EQ(parseAge(text), seconds) << text;
}

}  // namespace

}  // namespace times
