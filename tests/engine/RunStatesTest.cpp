// The canvas thread: run states, the pause and resume hand-over on the
// test clock, quitting, the paint pass with its bands and translation, and
// frames that allocate nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "HALEvents.h"
#include "HALScreen.h"
#include "HALWindow.h"
#include "RasterSurface.h"
#include "VMContext.h"
#include "VMHeap.h"
#include "tq_Resources.h"
#include "tq_input_PointerInputEventManager.h"
#include "tq_io_resource_ResourcePack.h"

namespace enginetest {
namespace {

std::atomic<int> exitPosts{0};

bool countExitPosts(uint32_t message, uintptr_t, intptr_t) {
  if (message == HAL_EXIT_MESSAGE) ++exitPosts;
  return true;
}

class RunStates : public EngineFixture {};

struct RunCase {
  const char* name;
  bool show;
  // Runs once the canvas has started (or right away when it is never
  // shown); may move the test clock and raise events.
  std::function<void(RunStates&, ProbeCanvas*)> steps;
  std::vector<int32_t> expected;
  int32_t expectedExitPosts;
};

TEST_F(RunStates, PauseResumeAndQuitAsATable) {
  HAL_setMainWindowPoster(countExitPosts);
  int64_t resumeAsked = 0;
  const RunCase cases[] = {
      {"never shown: the thread waits, no event until the quit", false,
       [](RunStates&, ProbeCanvas* c) {
         java::lang::Thread::sleep(100);
         EXPECT_EQ(c->ticks, 0);
       },
       {3}, 1},
      {"hidden, shown 100 ms later: paused, then resumed no sooner than 750 ms after the show", true,
       [&](RunStates& t, ProbeCanvas* c) {
         t.raise(HAL_EVENT_PAUSE, {});
         EXPECT_TRUE(waitFor([&] { return c->codes().size() == 2; }));
         TestClock::now += 100;
         resumeAsked = TestClock::now.load();
         t.raise(HAL_EVENT_RESUME, {});
         EXPECT_TRUE(waitFor([&] { return c->codes().size() == 4; }));
         EXPECT_GE(c->timeOf(2), resumeAsked + 750);
         EXPECT_GE(c->timeOf(5), c->timeOf(2));
       },
       {0, 1, 2, 5, 3}, 1},
      {"shown again while running: a whole pause and resume", true,
       [&](RunStates&, ProbeCanvas* c) {
         resumeAsked = TestClock::now.load();
         c->showNotify();
         EXPECT_TRUE(waitFor([&] { return c->codes().size() == 4; }));
         EXPECT_GE(c->timeOf(2), resumeAsked + 750);
       },
       {0, 1, 2, 5, 3}, 1},
      {"requests after a quit are ignored; a second quit notifies once", true,
       [](RunStates&, ProbeCanvas* c) {
         c->requestState(3);
         c->requestState(1);
         c->requestState(2);
         c->requestState(7);
         c->requestState(3);
         c->onAppEvent(3);
       },
       {0, 3, 3}, 1},
      {"other codes pass through to the game", true, [](RunStates&, ProbeCanvas* c) { c->requestState(7); },
       {0, 7, 3}, 1},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    exitPosts = 0;
    raise(HAL_EVENT_RESUME, {});  // the application in the foreground
    VMPtr<ProbeCanvas> canvas = makeCanvas();
    VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
    if (c.show) {
      display->setCurrent(canvas);
      ASSERT_TRUE(waitFor([&] { return canvas->ticks > 2; }));
    }
    c.steps(*this, canvas.get());
    finish(canvas, thread);
    EXPECT_EQ(canvas->codes(), c.expected);
    EXPECT_EQ(exitPosts.load(), c.expectedExitPosts);
  }
  HAL_setMainWindowPoster(nullptr);
}

TEST_F(RunStates, AQuitFromTickEndsTheThreadAtOnce) {
  VMPtr<ProbeCanvas> canvas = makeCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  int32_t paintsAtQuit = -1;
  canvas->onTick = [&](ProbeCanvas* c) {
    if (c->ticks == 3) {
      c->quit();
      paintsAtQuit = c->paints;
    }
  };
  display->setCurrent(canvas);
  ASSERT_TRUE(waitFor([&] { return !thread->isAlive(); }));
  EXPECT_EQ(canvas->ticks, 3);
  EXPECT_EQ(canvas->paints, paintsAtQuit);  // no paint after the quitting tick
  // Ended right after the tick: the canvas stays the instance.
  EXPECT_EQ(tq::TqCanvas::instance.get(), canvas.get());
  EXPECT_EQ(tq::TqCanvas::runState, 4);
  EXPECT_TRUE(java_test::joinThread(thread));
}

// Quitting closes the current resource pack, whoever quits.
TEST_F(RunStates, AQuitClosesTheCurrentPack) {
  VMPtr<ProbeCanvas> canvas = makeCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  VMPtr<VMArray<int8_t, 2>> data = VMArray<int8_t, 2>::createMulti(1, 1);
  data->set(0, VMArray<int8_t>::create(3));
  VMPtr<VMArray<int8_t>> types = VMArray<int8_t>::create(1);
  VMPtr<VMArray<int8_t>> bytes = tq::Resources::buildPack(data, types);
  ASSERT_TRUE(tq::Resources::loadIndex(tq::Resources::openStream(bytes, 0, bytes->length)));
  EXPECT_EQ(tq::io::resource::ResourcePack::currentPack, 0);
  EXPECT_EQ(tq::Resources::getSize(0), 3);
  canvas->quit();
  EXPECT_EQ(tq::io::resource::ResourcePack::currentPack, -1);
  finish(canvas, thread);
}

// A quit seen at the loop's own test (here while hidden) ends the loop
// normally.
TEST_F(RunStates, ANormalEndForgetsTheInstanceAndStopsTheQueue) {
  VMPtr<ProbeCanvas> canvas = makeCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  display->setCurrent(canvas);
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > 0; }));
  tq::input::PointerInputEventManager::setEnabled(1);
  raise(HAL_EVENT_PAUSE, {});
  ASSERT_TRUE(waitFor([&] { return canvas->codes().size() == 2; }));
  finish(canvas, thread);
  EXPECT_EQ(tq::TqCanvas::instance.get(), nullptr);
  EXPECT_FALSE(tq::input::PointerInputEventManager::isEnabled());
}

// Counts the frames painted between a start and an end tick and watches
// the heap in between.
TEST_F(RunStates, WarmFramesAllocateNothing) {
  VMPtr<ProbeCanvas> canvas = makeCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  uint64_t allocatedAtStart = 0;
  uint64_t collectionsAtStart = 0;
  uint64_t allocatedAtEnd = 0;
  uint64_t collectionsAtEnd = 0;
  canvas->onTick = [&](ProbeCanvas* c) {
    if (c->ticks == 20) {
      allocatedAtStart = _VM_heapState().allocated.load();
      collectionsAtStart = _VM_vm->collectionCount;
    } else if (c->ticks == 120) {
      allocatedAtEnd = _VM_heapState().allocated.load();
      collectionsAtEnd = _VM_vm->collectionCount;
    }
  };
  display->setCurrent(canvas);
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > 120; }));
  finish(canvas, thread);
  EXPECT_EQ(collectionsAtEnd, collectionsAtStart);
  EXPECT_EQ(allocatedAtEnd, allocatedAtStart);
}

TEST_F(RunStates, ANullGraphicsKeepsTheRepaintRequest) {
  VMPtr<ProbeCanvas> canvas = makeCanvas();
  canvas->repaintPending = 0;
  canvas->renderFrame(nullptr);
  EXPECT_EQ(canvas->repaintPending, 1);
  EXPECT_EQ(canvas->paints, 0);
  EXPECT_TRUE(canvas->getGraphics());  // the platform always gives one here
}

}  // namespace
}  // namespace enginetest
