#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <functional>
#include <string>

namespace bench {

// One side of a comparison. Prepare runs untimed before every timed Run; Run answers something
// made from its work, so the work cannot be optimised away.
struct TSide {
  std::function<std::size_t()> Run;
  std::function<void()> Prepare = [] {};
};

// Times both sides in every iteration, alternating which one goes first, and reports ours_ms,
// base_ms (per iteration) and ratio = ours / base.
void CompareSides(benchmark::State& state, const TSide& base, const TSide& ours);

// Unless `agree`, skips the benchmark with `message`: timing two sides that did different work
// would compare nothing. Answers `agree`.
bool Agree(benchmark::State& state, bool agree, const std::string& message);

// What the table says of a benchmark: the operation measured and the baseline it is measured
// beside. Kept as the run's label.
void Describe(benchmark::State& state, const std::string& operation, const std::string& baseline);
// The goal: ours at most `ratio` times the baseline. With GoalMs too, both must be met.
void GoalRatio(benchmark::State& state, double ratio);
// The goal: ours under `ms` milliseconds.
void GoalMs(benchmark::State& state, double ms);

// A short smoke run (--quick): every comparison runs one round each way.
bool Quick();
void SetQuick(bool quick);
// Iterations of a comparison: `full`, or 2 in a quick run.
int Rounds(int full);

// Called by the shared main before the benchmarks run: each benchmark program registers its own.
void RegisterBenchmarks();

}  // namespace bench
