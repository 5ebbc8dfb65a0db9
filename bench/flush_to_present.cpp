// The delay from a flush of a screen buffer on a thread other than the main
// thread to the frame being presented, side by side with one message round
// trip through the main window's queue. The application shell runs its real
// start-up, message loop and shutdown on a thread of its own (the main
// thread) with a stand-in VM: no Java runs, only the platform layer.
//
//   MessageRoundTrip:  a serial call queued from this thread (a message to
//                      the main window) until its routine has run there.
//   FlushToPresent:    HAL_flushScreenBuffer from this thread (under the
//                      global lock, as a canvas thread calls it) until the
//                      headless backend has recorded the frame. Reports
//                      `x_round_trip`: its time divided by the round trip's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "CeHeadlessBackend.h"
#include "CeWindows.h"
#include "DeviceProfile.h"
#include "HALCallbacks.h"
#include "HALDisplayable.h"
#include "HALEvents.h"
#include "HALGlobalLock.h"
#include "HALScreen.h"
#include "HALShell.h"
#include "HALWindow.h"
#include "HALWindowObject.h"

namespace {

using Clock = std::chrono::steady_clock;

// A flag one thread raises and another waits for.
class Signal {
 public:
  void raise() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      raised_ = true;
    }
    changed_.notify_all();
  }
  bool wait(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool raised = changed_.wait_for(lock, limit, [&] { return raised_; });
    raised_ = false;
    return raised;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool raised_ = false;
};

Signal started;
HALScreen* screen = nullptr;

// The stand-in VM's start: the screen buffer of a canvas, made on the main
// thread as a canvas makes it.
int startVM(uint64_t, uint64_t, HALThread*, const char*, int) {
  HAL_createEventRegistry();
  HALWindowObject* canvas = nullptr;
  HAL_createCanvas(&canvas, 1);
  HAL_createScreenBuffer(canvas, &screen);
  started.raise();
  return 0;
}

void stopVM() { HAL_deleteEventRegistry(); }

// The application, running on its own main thread until the benchmarks end.
class Application {
 public:
  Application() {
    folder_ = std::filesystem::temp_directory_path() / ("jme-bench-flush-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_ / "properties");
    std::ofstream(folder_ / "properties" / "app.prop") << "MIDlet-Name: bench-flush-" << getpid() << "\n";
    DeviceProfile::instance().setProgramDirectory(folder_.string());
    CeBackend::use(&CeHeadlessBackend::instance());
    VMCallbacks table{startVM, nullptr, nullptr, nullptr, nullptr, stopVM};
    HAL_setVMCallbacks(&table);
    main_ = std::thread([] { HAL_runApplication(nullptr, 1); });
    ready_ = started.wait(std::chrono::seconds(10)) && screen != nullptr;
  }
  ~Application() {
    HAL_postToMainWindow(ce::WM_CLOSE, 0, 0);
    main_.join();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  bool ready() const { return ready_; }

 private:
  std::filesystem::path folder_;
  std::thread main_;
  bool ready_ = false;
};

Application& application() {
  static Application app;
  return app;
}

Signal serialCallRan;

void raiseSerialCallRan(void*) { serialCallRan.raise(); }

// One serial call from this thread until it has run on the main thread.
bool roundTrip() {
  HAL_callSerially(raiseSerialCallRan, nullptr);
  return serialCallRan.wait(std::chrono::seconds(1));
}

// One flush from this thread until the frame is presented.
bool flushToPresent() {
  const uint64_t presented = CeHeadlessBackend::instance().frameCount();
  HAL_enterGlobalLock();
  HAL_flushScreenBuffer(screen);
  HAL_leaveGlobalLock();
  return CeHeadlessBackend::instance().waitForFrames(presented + 1, 1000);
}

// Nanoseconds of one round trip: the median of many.
double roundTripNanos() {
  static const double nanos = [] {
    std::vector<double> times;
    for (int i = 0; i < 501; ++i) {
      const auto start = Clock::now();
      roundTrip();
      times.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
  }();
  return nanos;
}

template <typename F>
void timed(benchmark::State& state, F step) {
  if (!application().ready()) {
    state.SkipWithError("the application did not start");
    return;
  }
  const auto start = Clock::now();
  for (auto _ : state) {
    if (!step()) {
      state.SkipWithError("the main thread did not answer within a second");
      return;
    }
  }
  const double nanos =
      std::chrono::duration<double, std::nano>(Clock::now() - start).count() / static_cast<double>(state.iterations());
  state.counters["x_round_trip"] = nanos / roundTripNanos();
}

void MessageRoundTrip(benchmark::State& state) { timed(state, roundTrip); }
BENCHMARK(MessageRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

void FlushToPresent(benchmark::State& state) { timed(state, flushToPresent); }
BENCHMARK(FlushToPresent)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
