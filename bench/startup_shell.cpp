// The application as a player feels it: from the start of the process to
// the MIDlet's startApp, and from a close message to the end of the
// process, each against a process that only prints a line (the same
// program with --print-only). The program is jme_test_app (the real entry
// with a small test MIDlet) under the headless backend.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <unistd.h>

#include "AppProcess.h"
#include "PrintOnlyBaseline.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kProgram = std::string(JME_BINARY_DIR) + "/jme_test_app";

std::string properties() {
  return "MIDlet-Name: bench-" + std::to_string(getpid()) + "\nMIDlet-1: Test, /icon.png, shelltest.TestMIDlet\n";
}

double seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

void StartToStartApp(benchmark::State& state) {
  AppProcess app(kProgram, properties());
  for (auto _ : state) {
    const auto start = Clock::now();
    app.start();
    if (app.readLine() != "startApp") state.SkipWithError("no startApp");
    state.SetIterationTime(seconds(start, Clock::now()));
    app.send("close");
    app.wait();
  }
}
BENCHMARK(StartToStartApp)->UseManualTime()->Unit(benchmark::kMillisecond);

void CloseToExit(benchmark::State& state) {
  AppProcess app(kProgram, properties());
  for (auto _ : state) {
    app.start();
    if (app.readLine() != "startApp") state.SkipWithError("no startApp");
    const auto start = Clock::now();
    app.send("close");
    if (app.wait() != 0) state.SkipWithError("exit code not 0");
    state.SetIterationTime(seconds(start, Clock::now()));
  }
}
BENCHMARK(CloseToExit)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintOnly(benchmark::State& state) { benchbaseline::timePrintOnly(state, kProgram, properties()); }
BENCHMARK(PrintOnly)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
