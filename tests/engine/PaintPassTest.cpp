// The paint pass over a real main window: a view smaller than the screen
// gets black bands round it and is drawn translated to its place.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "HALProperties.h"
#include "HALScreen.h"
#include "HALWindow.h"
#include "RasterSurface.h"

namespace enginetest {
namespace {

class PaintPass : public EngineFixture {};

TEST_F(PaintPass, ASmallerViewIsCentredBetweenBlackBands) {
  loadPropertiesUnderOwnName();
  ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  VMPtr<ProbeCanvas> canvas = makeCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  // The canvas's full-screen switch, asked for off the main thread, arrives
  // as a posted message; the canvas takes the new size as its loop would.
  pumpMessages();
  canvas->updateScreenSize();
  ASSERT_EQ(canvas->getWidth(), 240);
  ASSERT_EQ(canvas->getHeight(), 320);
  canvas->setViewSize(200, 300);
  EXPECT_EQ(canvas->viewX, 20);
  EXPECT_EQ(canvas->viewY, 10);
  int32_t translateX = -1, translateY = -1, clipWidth = -1, clipHeight = -1;
  canvas->onPaint = [&](VMPtr<Graphics> g) {
    translateX = g->getTranslateX();
    translateY = g->getTranslateY();
    clipWidth = g->getClipWidth();
    clipHeight = g->getClipHeight();
    g->setColor(0xFFFFFF);
    g->fillRect(-50, -50, 400, 400);  // the clip keeps it to the view
  };
  // Before the second frame, pixel (0, 0) of the top band is marked; the
  // third tick quits before its paint.
  canvas->onTick = [](ProbeCanvas* c) {
    if (c->ticks == 2) c->screenBuffer->surface->pixels[0] = 0x1234;
    if (c->ticks == 3) c->quit();
  };
  display->setCurrent(canvas);
  ASSERT_TRUE(waitFor([&] { return !thread->isAlive(); }));
  EXPECT_EQ(canvas->paints, 2);
  EXPECT_EQ(translateX, 20);
  EXPECT_EQ(translateY, 10);
  EXPECT_EQ(clipWidth, 200);
  EXPECT_EQ(clipHeight, 300);
  RasterSurface* surface = canvas->screenBuffer->surface;
  ASSERT_EQ(surface->width, 240);
  ASSERT_EQ(surface->height, 320);
  int64_t wrong = 0;
  for (int32_t y = 0; y < 320; ++y) {
    for (int32_t x = 0; x < 240; ++x) {
      const bool inView = x >= 20 && x < 220 && y >= 10 && y < 310;
      const uint16_t expected = inView ? 0xFFFF : 0x0000;
      if (surface->pixels[y * surface->stride + x] != expected) ++wrong;
    }
  }
  // The second frame painted the view but not the bands again.
  EXPECT_EQ(wrong, 1);
  EXPECT_EQ(surface->pixels[0], 0x1234);
  EXPECT_TRUE(java_test::joinThread(thread));
}

}  // namespace
}  // namespace enginetest
