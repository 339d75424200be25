// Costs of the coverage list at archive scale: sorting intervals that arrive in
// random order, adding the separate intervals of a trigger stream in time order
// (each lies outside every interval stored so far), and adding intervals that
// arrive in random order, separate or meeting others (each found its node
// through the list's index). Each case runs one timed iteration on a freshly
// built list.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "times/interval_list.h"

namespace {

void BM_SortRandomIntervals(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  std::mt19937 random(42);
  std::uniform_int_distribution<int32_t> start(0, 1 << 30);
  std::vector<int32_t> starts(static_cast<std::size_t>(n));
  for (int32_t& s : starts) s = start(random);
  for (auto _ : state) {
    state.PauseTiming();
    times::IntervalList list(0);
    // Inverted intervals never fold, so every one becomes a node.
    for (const int32_t s : starts) list.mergeInto(s, s - 1);
    state.ResumeTiming();
    list.sortByStart(times::SORT_ASCENDING);
    benchmark::DoNotOptimize(list.first());
  }
}
BENCHMARK(BM_SortRandomIntervals)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_AddTriggerStream(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    times::IntervalList list(0);
    // Trigger files: 60 s of data every 10 minutes, never touching.
    for (int32_t i = 0; i < n; ++i) list.add(1150000000 + i * 600, 1150000000 + i * 600 + 60);
    benchmark::DoNotOptimize(list.first());
  }
}
BENCHMARK(BM_AddTriggerStream)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Files of a minute, one every ten minutes (separate) or every minute (each
// touching its neighbours), dealt in a random order: names that do not follow
// time.
void BM_AddRandomOrder(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  const auto spacing = static_cast<int32_t>(state.range(1));
  std::vector<int32_t> starts(static_cast<std::size_t>(n));
  for (int32_t i = 0; i < n; ++i) starts[static_cast<std::size_t>(i)] = 1150000000 + i * spacing;
  std::shuffle(starts.begin(), starts.end(), std::mt19937(42));
  for (auto _ : state) {
    times::IntervalList list(0);
    for (const int32_t start : starts) list.add(start, start + 60);
    benchmark::DoNotOptimize(list.first());
  }
}
BENCHMARK(BM_AddRandomOrder)
    ->Args({100000, 600})
    ->Args({1000000, 600})
    ->Args({1000000, 60})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
