// The engine canvas's spine, side by side with what a game would write
// without it:
//
//   SpineFrame:  one pass of the canvas thread's run loop with frame time 0
//                (no pacing sleep), an empty tick and a paint that fills
//                the 240 x 320 view, then the flush, which off the main
//                thread only marks the screen pending; the pass ends with
//                the yield of the global lock.
//   PlainFrame:  a Java thread doing the same fill, flush and yield in a
//                plain loop. SpineFrame reports `x_plain`, its time per
//                frame divided by PlainFrame's.
//   StartToFirstFrame: process start of jme_engine_app to the line saying
//                its first frame was flushed, against PrintOnly: the same
//                program with --print-only (as bench_startup_shell).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>

#include "AppProcess.h"
#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALProperties.h"
#include "HALWindow.h"
#include "JavaTask.h"
#include "PrintOnlyBaseline.h"
#include "VMClassKit.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "java_lang_Thread.h"
#include "javax_microedition_lcdui_Display.h"
#include "javax_microedition_lcdui_game_GameCanvas.h"
#include "tq_TqCanvas.h"

namespace benchspine {

using Clock = std::chrono::steady_clock;
using javax::microedition::lcdui::Graphics;

constexpr int kFramesPerIteration = 200;

class FillCanvas : public tq::TqCanvas {
  VM_CLASS(FillCanvas, tq::TqCanvas)

 public:
  VMPtr<FillCanvas> _VM_init() {
    Base::_VM_init(nullptr);
    return VMPtr<FillCanvas>(this);
  }
  void tick() override { frames.fetch_add(1, std::memory_order_relaxed); }
  void paintFrame(VMPtr<Graphics> g) override {
    g->setColor(0x336699);
    g->fillRect(0, 0, 240, 320);
  }
  std::atomic<int64_t> frames{0};
};

class PlainCanvas : public javax::microedition::lcdui::game::GameCanvas {
  VM_CLASS(PlainCanvas, javax::microedition::lcdui::game::GameCanvas)

 public:
  VMPtr<PlainCanvas> _VM_init() {
    Base::_VM_init(0);
    return VMPtr<PlainCanvas>(this);
  }
};

// The VM with a main window of the default 240 x 320 screen, events
// delivered to the display as in the program.
void startPlatform() {
  static const bool started = [] {
    VMTestEnv::start();
    VMCallbacks table = *HAL_getVMCallbacks();
    table.broadcastEvent = HAL_broadcastEvent;
    HAL_setVMCallbacks(&table);
    HAL_createEventRegistry();
    HAL_loadProperties();
    HAL_createMainWindow(nullptr, 1);
    return true;
  }();
  (void)started;
}

// Sleeps (letting the frame thread run) until `frames` passes `target`.
void waitFrames(const std::atomic<int64_t>& frames, int64_t target) {
  while (frames.load(std::memory_order_relaxed) < target) java::lang::Thread::sleep(1);
}

double plainNanosPerFrame = 0;

void PlainFrame(benchmark::State& state) {
  startPlatform();
  VMPtr<PlainCanvas> canvas = PlainCanvas::_VM_new();
  canvas->_VM_init();
  javax::microedition::lcdui::Display::getDisplay(nullptr)->setCurrent(canvas);
  static std::atomic<int64_t> frames{0};
  static std::atomic<bool> running{true};
  running = true;
  VMPtr<java::lang::Thread> thread = java_test::startThread([&canvas = *canvas.get()] {
    while (running.load()) {
      VMPtr<Graphics> g = canvas.getGraphics();
      g->setColor(0x336699);
      g->fillRect(0, 0, 240, 320);
      canvas.flushGraphics();
      frames.fetch_add(1, std::memory_order_relaxed);
      VMThread::yield();
    }
  });
  waitFrames(frames, 50);
  double total = 0;
  int64_t counted = 0;
  for (auto _ : state) {
    const int64_t target = frames.load() + kFramesPerIteration;
    const auto start = Clock::now();
    waitFrames(frames, target);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds / kFramesPerIteration);
    total += seconds;
    counted += kFramesPerIteration;
  }
  running = false;
  while (thread->isAlive()) java::lang::Thread::sleep(1);
  plainNanosPerFrame = total * 1e9 / static_cast<double>(counted);
}
BENCHMARK(PlainFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

void SpineFrame(benchmark::State& state) {
  startPlatform();
  VMPtr<FillCanvas> canvas = FillCanvas::_VM_new();
  canvas->_VM_init();
  canvas->setFrameTime(0);
  javax::microedition::lcdui::Display::getDisplay(nullptr)->setCurrent(canvas);
  waitFrames(canvas->frames, 50);
  double total = 0;
  int64_t counted = 0;
  for (auto _ : state) {
    const int64_t target = canvas->frames.load() + kFramesPerIteration;
    const auto start = Clock::now();
    waitFrames(canvas->frames, target);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds / kFramesPerIteration);
    total += seconds;
    counted += kFramesPerIteration;
  }
  canvas->requestState(3);
  if (plainNanosPerFrame > 0) {
    state.counters["x_plain"] = total * 1e9 / static_cast<double>(counted) / plainNanosPerFrame;
  }
}
BENCHMARK(SpineFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

const std::string kProgram = std::string(JME_BINARY_DIR) + "/jme_engine_app";

std::string properties() {
  return "MIDlet-Name: bench-engine-" + std::to_string(getpid()) +
         "\nMIDlet-1: Engine, /icon.png, engineapp.EngineMIDlet\n";
}

void StartToFirstFrame(benchmark::State& state) {
  AppProcess app(kProgram, properties());
  for (auto _ : state) {
    const auto start = Clock::now();
    app.start();
    std::string line;
    do {
      line = app.readLine();
    } while (line != "drawn" && line != "<timeout>" && line != "<eof>");
    if (line != "drawn") state.SkipWithError("no first frame");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    app.send("close");
    app.wait();
  }
}
BENCHMARK(StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintOnly(benchmark::State& state) { benchbaseline::timePrintOnly(state, kProgram, properties()); }
BENCHMARK(PrintOnly)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace benchspine

VM_REGISTER_CLASS(benchspine::FillCanvas, "benchspine.FillCanvas", "tq.TqCanvas", 0);
VM_REGISTER_CLASS(benchspine::PlainCanvas, "benchspine.PlainCanvas", "javax.microedition.lcdui.game.GameCanvas", 0);
