// The game's start as a player waits for it: from the start of the process
// to its first frames (the logo painted), against `jme --print-only`, a
// process that only prints a line. The game is the driver program
// (jme_game_app: main.CommonMIDlet on the driver's stepped clock), which
// says "ready" once its first two frames are painted and flushed; the
// content is the game's fixture packs, the database the one the first
// start made (a returning player's start).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "GameDriver.h"
#include "PrintOnlyBaseline.h"

namespace {

using Clock = std::chrono::steady_clock;

void StartToFirstFrame(benchmark::State& state) {
  gameplay::GameDriver game;
  game.useFixturePacks();
  if (!game.start() || !game.close() || game.wait() != 0) state.SkipWithError("the game did not start");
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!game.start()) state.SkipWithError("no first frame");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    game.close();
    game.wait();
  }
}
BENCHMARK(StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintOnly(benchmark::State& state) {
  benchbaseline::timePrintOnly(state, std::string(JME_BINARY_DIR) + "/jme", gameplay::gameProperties());
}
BENCHMARK(PrintOnly)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
