// The screen buffer: its size from the size source, reallocation with the
// Graphics over it, and the hand-over of a flush from a thread that is not
// the main thread (in this test no thread is).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "HALGlobalLock.h"
#include "JavaTestSupport.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_Runnable.h"
#include "java_lang_Thread.h"
#include "HALScreen.h"
#include "HALShellHooks.h"
#include "RasterSurface.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "javax_microedition_lcdui_Graphics.h"

namespace screen_test {

// A Java thread that flushes the screen while holding the global lock two
// levels deep.
class Flusher : public virtual java::lang::Object, public virtual java::lang::Runnable {
  VM_CLASS(Flusher, java::lang::Object)

 public:
  static inline HALScreen* screen = nullptr;
  void run() override {
    HAL_enterGlobalLock();
    HAL_flushScreenBuffer(screen);
    levelsAfter = HAL_holdsGlobalLock() ? 1 : 0;
    HAL_leaveGlobalLock();
    levelsAfter += HAL_holdsGlobalLock() ? 1 : 0;
  }
  static inline std::atomic<int> levelsAfter{-1};
};

// True while a thread record besides the main thread's is left.
bool threadRecordsLeft() {
  HALListNode* first = _VM_vm->threads.getFirst();
  return first != nullptr && _VM_vm->threads.getNext(first) != nullptr;
}

}  // namespace screen_test

VM_REGISTER_CLASS(screen_test::Flusher, "screen_test.Flusher", "java.lang.Object", 0);
VM_IMPLEMENTS(screen_test::Flusher, "java.lang.Runnable");

namespace {

using javax::microedition::lcdui::Graphics;
using screen_test::Flusher;

class FakeWindow : public HALScreenSizeSource {
 public:
  void screenSize(int32_t* w, int32_t* h) override {
    if (w) *w = width;
    if (h) *h = height;
  }
  void attachScreen(HALScreen* s) override { screen = s; }

  int32_t width = 24;
  int32_t height = 16;
  HALScreen* screen = nullptr;
};

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override { VMTestEnv::start(); }
};

TEST_F(ScreenTest, TheBufferTakesTheSourcesSizeAndRegistersWithIt) {
  FakeWindow window;
  HALScreen* screen = nullptr;
  ASSERT_EQ(HAL_createScreenBuffer(&window, &screen), HAL_OK);
  EXPECT_EQ(window.screen, screen);
  int32_t w = 0, h = 0;
  EXPECT_EQ(HAL_getScreenBufferSize(screen, &w, nullptr), HAL_OK);
  EXPECT_EQ(HAL_getScreenBufferSize(screen, nullptr, &h), HAL_OK);
  EXPECT_EQ(w * 100 + h, 2416);
  EXPECT_EQ(screen->surface->alphaType, RasterSurface::kOpaque);
  EXPECT_EQ(screen->surface->stride, 24);
  EXPECT_EQ(HAL_getScreenBufferSize(screen, nullptr, nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getScreenBufferSize(nullptr, &w, &h), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createScreenBuffer(nullptr, &screen), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_flushScreenBuffer(nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_deleteScreenBuffer(nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  ASSERT_EQ(HAL_deleteScreenBuffer(window.screen), HAL_OK);
  EXPECT_EQ(window.screen, nullptr);
}

TEST_F(ScreenTest, FlushesFromOtherThreadsBecomeOnePresentOfTheLatestContents) {
  FakeWindow window;
  HALScreen* screen = nullptr;
  ASSERT_EQ(HAL_createScreenBuffer(&window, &screen), HAL_OK);
  const int64_t before = HAL_countScreenPresents();
  HAL_presentPendingScreen();
  EXPECT_EQ(HAL_countScreenPresents(), before);

  // The flushing thread holds the global lock two levels deep; it has them
  // all back afterwards.
  HAL_enterGlobalLock();
  EXPECT_EQ(HAL_flushScreenBuffer(screen), HAL_OK);
  EXPECT_EQ(HAL_flushScreenBufferRegion(screen, 10, 10, 5, 5), HAL_OK);
  HAL_leaveGlobalLock();
  EXPECT_TRUE(HAL_holdsGlobalLock());
  std::thread other([&] { EXPECT_EQ(HAL_flushScreenBuffer(screen), HAL_OK); });
  const int levels = HAL_suspendGlobalLock();
  other.join();
  HAL_resumeGlobalLock(levels);
  EXPECT_TRUE(screen->pending);
  EXPECT_EQ(HAL_countScreenPresents(), before);  // nobody waited for the present

  HAL_presentPendingScreen();
  EXPECT_EQ(HAL_countScreenPresents(), before + 1);
  EXPECT_FALSE(screen->pending);
  HAL_presentPendingScreen();
  EXPECT_EQ(HAL_countScreenPresents(), before + 1);
  HAL_deleteScreenBuffer(screen);
}

TEST_F(ScreenTest, AJavaThreadsFlushLeavesEveryLevelOfTheGlobalLockWhileItWaitsForTheScreenLock) {
  FakeWindow window;
  ASSERT_EQ(HAL_createScreenBuffer(&window, &Flusher::screen), HAL_OK);
  HALScreen* screen = Flusher::screen;
  screen->lock.lock();  // the main thread's present is under way
  VMPtr<Flusher> flusher = Flusher::_VM_new();
  flusher->Object::_VM_init();
  VMPtr<java::lang::Thread> thread = java::lang::Thread::_VM_new();
  thread->_VM_init(VMPtr<java::lang::Runnable>(flusher));
  thread->start();
  while (HAL_countGlobalLockWaiters() == 0) std::this_thread::yield();
  // The flushing thread gets the global lock first; taking it back succeeds
  // only once that thread has let go of both its levels: it now waits for
  // the screen lock.
  HAL_resumeGlobalLock(HAL_suspendGlobalLock());
  EXPECT_FALSE(screen->pending);
  screen->lock.unlock();
  while (thread->isAlive()) HAL_yieldGlobalLock();
  EXPECT_TRUE(screen->pending);
  EXPECT_EQ(Flusher::levelsAfter.load(), 2);  // both levels back after the flush
  HAL_deleteScreenBuffer(screen);
  // The thread's record (and its system thread) goes with its object.
  thread = nullptr;
  while (screen_test::threadRecordsLeft()) {
    _VM_collect();
    HAL_yieldGlobalLock();
  }
}

TEST_F(ScreenTest, AScreenGraphicsHasNoImageToCopyInOrToMakeTransparent) {
  FakeWindow window;
  HALScreen* screen = nullptr;
  ASSERT_EQ(HAL_createScreenBuffer(&window, &screen), HAL_OK);
  VMPtr<Graphics> g = Graphics::create(screen);
  java_test::thrownMessage<java::lang::IllegalStateException>([&] { g->copyArea(0, 0, 1, 1, 2, 2, 0); });
  java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { g->setDrawMode(1, 0); });
  g->releaseContext();
  HAL_deleteScreenBuffer(screen);
}

TEST_F(ScreenTest, AResizeReallocatesTheBufferAndResetsEveryGraphicsOnce) {
  FakeWindow window;
  HALScreen* screen = nullptr;
  ASSERT_EQ(HAL_createScreenBuffer(&window, &screen), HAL_OK);
  VMPtr<Graphics> first = Graphics::create(screen);
  VMPtr<Graphics> second = Graphics::create(screen);
  EXPECT_EQ(screen->contexts.count(), 2);
  EXPECT_EQ(first->getClipWidth() * 100 + first->getClipHeight(), 2416);
  first->translate(5, 5);
  first->setClip(0, 0, 2, 2);
  second->setClip(1, 1, 1, 1);

  window.width = 40;
  HAL_resizeScreenBuffer(screen);  // a size that did not change does nothing
  window.height = 30;
  HAL_resizeScreenBuffer(screen);
  EXPECT_EQ(screen->surface->width * 100 + screen->surface->height, 4030);
  for (const VMPtr<Graphics>& g : {first, second}) {
    EXPECT_EQ(g->getTranslateX(), 0);
    EXPECT_EQ(g->getClipX(), 0);
    EXPECT_EQ(g->getClipWidth() * 100 + g->getClipHeight(), 4030);
    EXPECT_EQ(g->context->clip.width * 100 + g->context->clip.height, 4030);
    EXPECT_EQ(g->context->target, screen->surface);
  }
  HAL_resizeScreenBuffer(screen);
  EXPECT_EQ(first->getClipWidth(), 40);

  // Drawing goes into the buffer, and the buffer draws into images.
  first->setColor(0xFF0000);
  first->fillRect(0, 0, 40, 30);
  EXPECT_EQ(*screen->surface->pixelAddress(39, 29), 0xF800);
  // A Graphics that goes away leaves the list.
  second->releaseContext();
  EXPECT_EQ(screen->contexts.count(), 1);
  second->fillRect(0, 0, 1, 1);
  // After the screen is gone its Graphics draws nothing and harms nothing.
  HAL_deleteScreenBuffer(screen);
  first->fillRect(0, 0, 40, 30);
  first->drawString(java::lang::String::_VM_fromUTF8("gone"), 0, 0, 0);
}

TEST_F(ScreenTest, TheBufferIsAtLeastOnePixel) {
  FakeWindow window;
  window.width = 0;
  window.height = -5;
  HALScreen* screen = nullptr;
  ASSERT_EQ(HAL_createScreenBuffer(&window, &screen), HAL_OK);
  EXPECT_EQ(screen->width * 100 + screen->height, 101);
  HAL_deleteScreenBuffer(screen);
}

}  // namespace
