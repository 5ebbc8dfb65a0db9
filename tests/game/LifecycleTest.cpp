// The MIDlet and the game canvas over the real engine: the lifecycle as
// one sequence of steps, each with what the controller then holds.

#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "GamePacks.h"
#include "JavaTask.h"
#include "PackFixtures.h"
#include "main_CommonMIDlet.h"
#include "scene_SceneManager.h"

using main::CommonCanvas;
using main::CommonMIDlet;
using main::Main;

namespace {

class Lifecycle : public DisplayFixture {
 protected:
  void SetUp() override {
    gametest::writeGamePacks(folder.root() / "rsc");
    DisplayFixture::SetUp();
  }
  // Ends the canvas thread (its exit already asked for) and joins it.
  static void joinCanvasThread() {
    tq::TqCanvas::_VM_clinitCheck();
    VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
    if (!thread) return;
    tq::TqCanvas::runState = 4;
    for (int i = 0; i < 2000 && thread->isAlive(); ++i) java::lang::Thread::sleep(2);
    java_test::joinThread(thread);
  }
  pack_fixtures::ProgramFolder folder;
};

TEST_F(Lifecycle, StartPauseResumeExit) {
  VMPtr<CommonMIDlet> midlet = CommonMIDlet::_VM_new();
  midlet->_VM_init();
  midlet->destroyApp(1);  // before any start: nothing to release
  midlet->pauseApp();
  EXPECT_FALSE(midlet->canvas);
  Main::_VM_clinitCheck();
  EXPECT_FALSE(Main::instance);

  midlet->startApp();
  VMPtr<CommonCanvas> canvas = midlet->canvas;
  ASSERT_TRUE(canvas);
  ASSERT_TRUE(midlet->main);
  EXPECT_EQ(Main::instance.get(), midlet->main.get());
  EXPECT_EQ(Main::canvas.get(), static_cast<tq::TqCanvas*>(canvas.get()));
  EXPECT_EQ(Main::currentGlyphId, 0x4C01);
  midlet->startApp();  // only shows the canvas again
  EXPECT_EQ(midlet->canvas.get(), canvas.get());
  EXPECT_EQ(Main::instance.get(), midlet->main.get());

  VMPtr<Main> controller = Main::instance;
  canvas->onAppEvent(1);
  EXPECT_TRUE(controller->paused);
  Main::repaintAll = 0;
  canvas->onAppEvent(2);
  EXPECT_TRUE(Main::repaintAll);
  EXPECT_FALSE(controller->paused);
  Main::repaintAll = 0;
  canvas->onAppEvent(4);
  EXPECT_TRUE(Main::repaintAll);
  Main::repaintAll = 0;
  canvas->onAppEvent(7);  // the engine's alone
  EXPECT_FALSE(Main::repaintAll);

  // Exit twice (destroyApp, then the engine's event 3): the second does
  // nothing, and a frame after it leaves the controller alone.
  midlet->destroyApp(1);
  EXPECT_FALSE(midlet->main);
  EXPECT_FALSE(Main::canvas);
  EXPECT_FALSE(Main::sceneManager);
  canvas->onAppEvent(3);
  EXPECT_TRUE(canvas->exiting);
  canvas->tick();
  canvas->paintFrame(VMPtr<javax::microedition::lcdui::Graphics>());
  EXPECT_FALSE(Main::sceneManager);
  joinCanvasThread();
}

// The canvas thread runs frames (its first tick makes the scene manager)
// while the main thread's destroyApp shuts the controller down: the global
// lock serialises them and the frames after it leave the controller alone.
TEST_F(Lifecycle, ExitFromTheMainThreadWhileFramesRun) {
  VMPtr<CommonMIDlet> midlet = CommonMIDlet::_VM_new();
  midlet->_VM_init();
  midlet->startApp();
  VMPtr<CommonCanvas> canvas = midlet->canvas;
  bool ticking = false;
  for (int i = 0; i < 2500 && !ticking; ++i) {
    java::lang::Thread::sleep(2);
    Main::_VM_clinitCheck();
    ticking = Main::sceneManager.get() != nullptr;
  }
  if (!ticking) canvas->showNotify();  // no show came from the display
  for (int i = 0; i < 2500 && !ticking; ++i) {
    java::lang::Thread::sleep(2);
    ticking = Main::sceneManager.get() != nullptr;
  }
  ASSERT_TRUE(ticking);
  java::lang::Thread::sleep(100);  // a few frames
  midlet->destroyApp(1);
  EXPECT_TRUE(canvas->exiting);
  EXPECT_FALSE(Main::sceneManager);
  joinCanvasThread();
  EXPECT_FALSE(Main::sceneManager);
}

}  // namespace
