#include "times/span_union.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/time_span_printer.h"

namespace times {

namespace {

using Spans = std::vector<TimeSpan>;

// The plain model: a flag per second [t, t + 1) of a short stretch of time.
std::vector<bool> secondsOf(const Spans& spans, int64_t length) {
  std::vector<bool> covered(static_cast<std::size_t>(length), false);
  for (const TimeSpan& span : spans) {
    for (int64_t t = span.start; t < span.end; ++t) covered[static_cast<std::size_t>(t)] = true;
  }
  return covered;
}

// The runs of seconds whose flag is value, within [from, to), longer than tolerance.
Spans runsOf(const std::vector<bool>& covered, bool value, int64_t from, int64_t to,
             int64_t tolerance) {
  Spans runs;
  for (int64_t t = from; t < to;) {
    int64_t end = t;
    while (end < to && covered[static_cast<std::size_t>(end)] == value) ++end;
    if (end - t > tolerance && end > t) runs.push_back(TimeSpan{t, end});
    t = std::max(end, t + 1);
  }
  return runs;
}

TEST(SpanUnion, MatchesAPlainModelOnRandomSpans) {
  std::mt19937 random(20061207);
  std::uniform_int_distribution<int64_t> time(5, 120), length(-3, 25), count(0, 12);
  for (int round = 0; round < 3000; ++round) {
    Spans spans;
    for (int64_t i = count(random); i > 0; --i) {
      const int64_t start = time(random);
      spans.push_back(TimeSpan{start, start + length(random)});
    }
    if (round % 3 == 0 && !spans.empty()) {  // a contained and a touching span
      const TimeSpan first = spans.front();
      spans.push_back(TimeSpan{first.start + 1, first.end - 1});
      spans.push_back(TimeSpan{first.end, first.end + 4});
    }
    const std::vector<bool> model = secondsOf(spans, 160);
    const Spans covered = unionOf(spans);
    ASSERT_EQ(covered, runsOf(model, true, 0, 160, 0)) << round;
    const int64_t tolerance = round % 5, from = time(random), to = from + length(random) + 3;
    EXPECT_EQ(gapsIn(covered, TimeSpan{from, to}, tolerance),
              runsOf(model, false, from, to, tolerance))
        << round;
    EXPECT_EQ(totalSeconds(clippedTo(covered, TimeSpan{from, to})),
              totalSeconds(runsOf(model, true, from, to, 0)));
  }
}

}  // namespace

TEST(SpanUnion, ClippingKeepsNoSpanThatOnlyTouchesTheWindow) {
  EXPECT_EQ(clippedTo({{0, 100}, {200, 300}}, TimeSpan{100, 200}), Spans{});
  EXPECT_EQ(clippedTo({{0, 150}}, TimeSpan{100, 200}), (Spans{{100, 150}}));
}

TEST(SpanUnion, SpansApartByAtMostTheGapAreJoined) {
  const Spans spans = {{0, 10}, {15, 20}, {26, 30}, {100, 110}};
  EXPECT_EQ(joinedAcross(spans, 0), spans);
  EXPECT_EQ(joinedAcross(spans, 5), (Spans{{0, 20}, {26, 30}, {100, 110}}));
  EXPECT_EQ(joinedAcross(spans, 6), (Spans{{0, 30}, {100, 110}}));
  EXPECT_EQ(joinedAcross({}, 60), Spans{});
}

}  // namespace times
