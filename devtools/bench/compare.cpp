#include "devtools/bench/compare.h"

#include <chrono>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;
bool FQuick = false;

double TimedRun(const TSide& side) {
  side.Prepare();
  const auto start = Clock::now();
  benchmark::DoNotOptimize(side.Run());
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

void CompareSides(benchmark::State& state, const TSide& base, const TSide& ours) {
  double baseSeconds = 0;
  double oursSeconds = 0;
  bool baseFirst = true;
  for (auto _ : state) {
    if (baseFirst) {
      baseSeconds += TimedRun(base);
      oursSeconds += TimedRun(ours);
    } else {
      oursSeconds += TimedRun(ours);
      baseSeconds += TimedRun(base);
    }
    baseFirst = !baseFirst;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = oursSeconds / n * 1000;
  state.counters["base_ms"] = baseSeconds / n * 1000;
  state.counters["ratio"] = oursSeconds / baseSeconds;
}

bool Agree(benchmark::State& state, bool agree, const std::string& message) {
  if (!agree) state.SkipWithError(message.c_str());
  return agree;
}

void Describe(benchmark::State& state, const std::string& operation, const std::string& baseline) {
  state.SetLabel(operation + "|" + baseline);
}

void GoalRatio(benchmark::State& state, double ratio) {
  state.counters["goal_ratio"] = ratio;
}

void GoalMs(benchmark::State& state, double ms) {
  state.counters["goal_ms"] = ms;
}

bool Quick() {
  return FQuick;
}

void SetQuick(bool quick) {
  FQuick = quick;
}

int Rounds(int full) {
  return FQuick ? 2 : full;
}

}  // namespace bench
