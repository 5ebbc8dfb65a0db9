#pragma once

// The fixture of the engine tests: the display fixture's VM and event
// registry, a test clock installed as the canvas's time source, and a
// canvas subclass that records its application events with the clock's
// time, counts its ticks and paints, and runs a test's own code in them.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "DisplayFixture.h"
#include "JavaTask.h"
#include "VMClassKit.h"
#include "java_lang_InterruptedException.h"
#include "java_lang_Thread.h"
#include "javax_microedition_midlet_MIDlet.h"
#include "tq_TqCanvas.h"

namespace enginetest {

using javax::microedition::lcdui::Graphics;

// A clock that moves only when the canvas sleeps: each sleep advances it
// by its length and is logged, then really sleeps 1 ms without the global
// lock so that other threads run. Sleeps of other threads than `owner`
// (when one is set) only really sleep.
struct TestClock {
  static inline std::atomic<int64_t> now{1000000};
  static inline std::atomic<std::thread::id> owner{};
  static inline std::mutex mutex;
  static inline std::vector<int32_t> sleeps;

  static int64_t read() { return now.load(); }
  static void sleep(int32_t ms) {
    const std::thread::id me = std::this_thread::get_id();
    if (owner.load() == std::thread::id() || owner.load() == me) {
      now += ms;
      std::lock_guard<std::mutex> lock(mutex);
      sleeps.push_back(ms);
    }
    try {
      java::lang::Thread::sleep(1);
    } catch (java::lang::InterruptedException* e) {
      VMPtr<java::lang::InterruptedException> ignored(e);
    }
  }
  static std::vector<int32_t> takeSleeps() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<int32_t> out;
    out.swap(sleeps);
    return out;
  }
  static void install() {
    static const tq::TqCanvas::TimeSource source{read, sleep};
    tq::TqCanvas::setTimeSource(&source);
  }
};

struct AppEvent {
  int32_t code;
  int64_t time;
};

class ProbeCanvas : public tq::TqCanvas {
  VM_CLASS(ProbeCanvas, tq::TqCanvas)

 public:
  VMPtr<ProbeCanvas> _VM_init(VMPtr<MIDlet> owner) {
    Base::_VM_init(owner);
    return VMPtr<ProbeCanvas>(this);
  }
  void tick() override {
    ++ticks;
    if (onTick) onTick(this);
  }
  void paintFrame(VMPtr<Graphics> g) override {
    ++paints;
    if (onPaint) onPaint(g);
  }
  void onAppEvent(int32_t code) override {
    events.push_back({code, getTimeMillis()});
    TqCanvas::onAppEvent(code);
  }
  void onNetworkResult(int32_t status, VMPtr<VMArray<int8_t>> data) override {
    results.push_back({status, data ? data->length : -1});
  }
  std::vector<int32_t> codes() const {
    std::vector<int32_t> out;
    for (const AppEvent& e : events) out.push_back(e.code);
    return out;
  }
  int64_t timeOf(int32_t code) const {
    for (const AppEvent& e : events) {
      if (e.code == code) return e.time;
    }
    return -1;
  }

  // Read and written under the global lock (canvas thread and test thread).
  std::vector<AppEvent> events;
  // Network results delivered: status and data length (-1 for null).
  std::vector<std::pair<int32_t, int32_t>> results;
  int32_t ticks = 0;
  int32_t paints = 0;
  std::function<void(ProbeCanvas*)> onTick;
  std::function<void(VMPtr<Graphics>)> onPaint;
};

class ProbeMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(ProbeMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<ProbeMIDlet> _VM_init() {
    Base::_VM_init();
    return VMPtr<ProbeMIDlet>(this);
  }
  void startApp() override {}
  void pauseApp() override {}
  void destroyApp(uint8_t) override {}
};

class EngineFixture : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    TestClock::install();
  }
  // A new canvas with a MIDlet of its own; its canvas thread waits for the
  // first show.
  VMPtr<ProbeCanvas> makeCanvas() {
    VMPtr<ProbeMIDlet> owner = ProbeMIDlet::_VM_new();
    owner->_VM_init();
    VMPtr<ProbeCanvas> canvas = ProbeCanvas::_VM_new();
    canvas->_VM_init(owner);
    return canvas;
  }
  // Sleeps (letting Java threads run) until `done` holds; false after 10 s.
  static bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 5000; ++i) {
      if (done()) return true;
      java::lang::Thread::sleep(2);
    }
    return done();
  }
  // Quits the canvas, waits for its thread to end and joins it (no other
  // Java thread may be left).
  static void finish(VMPtr<ProbeCanvas> canvas, VMPtr<java::lang::Thread>& thread) {
    canvas->requestState(3);
    EXPECT_TRUE(waitFor([&] { return !thread->isAlive(); }));
    EXPECT_TRUE(java_test::joinThread(thread));
  }
};

}  // namespace enginetest
