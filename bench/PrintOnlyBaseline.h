#pragma once

// The baseline of the benchmarks that run a whole program: the same
// program started with --print-only, which prints a line and exits, timed
// from the start of the process to its end.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "AppProcess.h"

namespace benchbaseline {

inline void timePrintOnly(benchmark::State& state, const std::string& program, const std::string& properties) {
  using Clock = std::chrono::steady_clock;
  AppProcess app(program, properties);
  for (auto _ : state) {
    const auto start = Clock::now();
    app.start("--print-only");
    if (app.wait() != 0) state.SkipWithError("print-only failed");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}

}  // namespace benchbaseline
