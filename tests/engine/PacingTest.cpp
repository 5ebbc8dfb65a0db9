// Frame pacing on the test clock: the frame-time settings, the debt paid
// back in sleeps of an eighth, the capped frame duration, a clock that
// goes back.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "EngineFixture.h"
#include "JavaTask.h"
#include "java_lang_System.h"

namespace enginetest {
namespace {

class Pacing : public EngineFixture {};

struct PacingCase {
  const char* name;
  int32_t frameTime;
  int32_t maxFrameTime;
  // How far the clock moves (the frame's work) before each paced frame;
  // the first frame restarts the pacing.
  std::vector<int32_t> work;
  int32_t period;
  int32_t cap;
  std::vector<int32_t> sleeps;
  int32_t debt;
  int32_t duration;
};

TEST_F(Pacing, FramesAsATable) {
  VMPtr<ProbeCanvas> canvas = makeCanvas();  // never shown: its thread only waits
  TestClock::owner = std::this_thread::get_id();
  const PacingCase cases[] = {
      // Debt 30: no sleep; then 60 + 10 work, an eighth: 8; 70 - 18 spent.
      {"period 40, work 10", 40, 100, {10, 10}, 40, 100, {8}, 52, 40},
      {"a 300 ms frame owes nothing and reports the cap", 10, 100, {300}, 10, 100, {}, 0, 100},
      // A full period (400) of shortfall, clamped to 250; 250 / 8 = 31.
      {"a clock going back", 400, 400, {-50}, 400, 400, {31}, 250, 400},
      {"setFrameTime(200) with the default maximum", 200, 100, {}, 100, 200, {}, 0, 100},
      {"setFrameTime(-5): nothing is ever owed", -5, 100, {0, 0, 0, 0, 0}, 0, 100, {}, 0, 0},
      // Each idle frame owes 40: 40, then 80 (sleep 10, 70 left), then 110
      // (sleep 13, 97 left).
      {"idle frames at period 40", 40, 100, {0, 0, 0}, 40, 100, {10, 13}, 97, 40},
  };
  for (const PacingCase& c : cases) {
    SCOPED_TRACE(c.name);
    canvas->setFrameTime(c.frameTime);
    canvas->setMaxFrameTime(c.maxFrameTime);
    EXPECT_EQ(canvas->framePeriod, c.period);
    EXPECT_EQ(canvas->frameCap, c.cap);
    canvas->restartTiming();
    EXPECT_EQ(canvas->getFrameDuration(), c.period);
    canvas->waitFrame();
    TestClock::takeSleeps();
    for (int32_t work : c.work) {
      TestClock::now += work;
      canvas->waitFrame();
    }
    EXPECT_EQ(TestClock::takeSleeps(), c.sleeps);
    EXPECT_EQ(canvas->sleepDebt, c.debt);
    if (!c.work.empty()) {
      EXPECT_EQ(canvas->getFrameDuration(), c.duration);
    }
  }
}

TEST_F(Pacing, SleepsOfNothingDoNothing) {
  TestClock::owner = std::this_thread::get_id();
  tq::TqCanvas::sleep(0);
  tq::TqCanvas::sleep(-3);
  EXPECT_TRUE(TestClock::takeSleeps().empty());
  tq::TqCanvas::sleep(5);
  EXPECT_EQ(TestClock::takeSleeps(), std::vector<int32_t>{5});
}

// The default sleep is real time and outlives an interrupt.
TEST_F(Pacing, TheDefaultSleepIgnoresAnInterrupt) {
  tq::TqCanvas::setTimeSource(nullptr);
  std::atomic<bool> slept{false};
  VMPtr<java::lang::Thread> t = java_test::startThread([&] {
    java::lang::Thread::currentThread()->interrupt();
    const int64_t start = java::lang::System::currentTimeMillis();
    tq::TqCanvas::sleep(5);
    slept = java::lang::System::currentTimeMillis() >= start;
  });
  EXPECT_TRUE(java_test::joinThread(t));
  EXPECT_TRUE(slept.load());
}

}  // namespace
}  // namespace enginetest
