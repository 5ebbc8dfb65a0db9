// The screen buffer: its size from the size source, reallocation with the
// Graphics over it, and the hand-over of a flush from a thread that is not
// the main thread (in this test no thread is).
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "HALGlobalLock.h"
#include "HALScreen.h"
#include "HALShellHooks.h"
#include "RasterSurface.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"

namespace {

using javax::microedition::lcdui::Graphics;

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
