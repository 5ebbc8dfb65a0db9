// Key regions: contains at the edges, a region's own key state (type 127)
// across frames, a canvas-key region answering what the canvas answers,
// the outline under a translated Graphics, and a drag on the main thread
// while the canvas thread latches and resets.
#include <gtest/gtest.h>

#include <atomic>

#include "HALEvents.h"
#include "JavaTask.h"
#include "KeyRegionFixture.h"
#include "VMThread.h"
#include "javax_microedition_lcdui_Image.h"

namespace keyregions {
namespace {

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

class KeyRegion : public KeyRegionFixture {};

TEST_F(KeyRegion, ContainsAtTheEdges) {
  VMPtr<Region> r = Region::create(1, 10, 20, 5, 6);
  struct Case {
    int32_t x, y;
    bool inside;
  };
  const Case cases[] = {{10, 20, true}, {14, 25, true}, {15, 20, false}, {10, 26, false},
                        {9, 20, false}, {10, 19, false}};
  for (const Case& c : cases) EXPECT_EQ(r->contains(c.x, c.y) != 0, c.inside) << c.x << "," << c.y;
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 5}}) {
    r->width = w;
    r->height = h;
    EXPECT_FALSE(r->contains(10, 20)) << w << "x" << h;
  }
  r->x = 0x7FFFFFF0;
  r->width = 100;
  r->height = 10;
  EXPECT_TRUE(r->contains(0x7FFFFFFF, 20));
  EXPECT_FALSE(r->contains(0, 20));
}

TEST_F(KeyRegion, OwnKeyStateIsLatchedPerFrame) {
  VMPtr<Region> r = add(127, 0, 0, 10, 10);
  for (int i = 0; i < 3; ++i) {
    press(1, 1);
    release(1, 1);
  }
  EXPECT_FALSE(r->isPressed());  // nothing latched yet
  Manager::update();
  EXPECT_EQ(r->getPressCount(), 3);
  EXPECT_TRUE(r->isPressed());
  EXPECT_TRUE(r->isReleased());
  EXPECT_FALSE(r->isHeld());
  Manager::update();
  EXPECT_EQ(r->getPressCount(), 0);
  EXPECT_FALSE(r->isPressed());
  EXPECT_FALSE(r->isReleased());
  // Held across frames: pressed in the first only, held in each.
  press(1, 1);
  Manager::update();
  EXPECT_TRUE(r->isPressed());
  EXPECT_TRUE(r->isHeld());
  drag(50, 50);
  Manager::update();
  EXPECT_FALSE(r->isPressed());
  EXPECT_TRUE(r->isHeld());
  release(50, 50);
  Manager::update();
  EXPECT_FALSE(r->isHeld());
  EXPECT_TRUE(r->isReleased());
  // The canvas never hears of it.
  EXPECT_EQ(canvas->take(), "");
  EXPECT_EQ(Manager::keyStateCount, 0);
}

TEST_F(KeyRegion, OwnPressCountSaturatesAt127) {
  VMPtr<Region> r = add(127, 0, 0, 10, 10);
  for (int i = 0; i < 200; ++i) {
    press(1, 1);
    release(1, 1);
  }
  Manager::update();
  EXPECT_EQ(r->getPressCount(), 127);
}

TEST_F(KeyRegion, ReleaseAllDropsTheOwnKey) {
  VMPtr<Region> r = add(127, 0, 0, 10, 10);
  press(1, 1);
  Manager::update();
  EXPECT_TRUE(r->isHeld());
  Manager::releaseAll();
  EXPECT_FALSE(r->isHeld());
  EXPECT_EQ(r->getPressCount(), 0);
  Manager::update();
  EXPECT_TRUE(r->isReleased());
  EXPECT_FALSE(r->isHeld());
  release(1, 1);
  press(1, 1);
  Manager::update();
  EXPECT_EQ(r->getPressCount(), 1);
}

TEST_F(KeyRegion, CanvasKeyRegionsAnswerWhatTheCanvasAnswers) {
  VMPtr<Region> r = add(1, 0, 0, 10, 10);
  VMPtr<Region> other = add(2, 20, 0, 10, 10);
  // Pressed through the region, then through the canvas alone.
  press(1, 1);
  canvas->latchKeys();
  EXPECT_TRUE(r->isPressed());
  EXPECT_TRUE(r->isHeld());
  EXPECT_EQ(r->getPressCount(), 1);
  EXPECT_FALSE(other->isPressed());
  release(1, 1);
  canvas->latchKeys();
  EXPECT_TRUE(r->isReleased());
  canvas->pressKey(2);
  canvas->latchKeys();
  EXPECT_TRUE(other->isPressed());
  for (int32_t key : {1, 2}) {
    VMPtr<Region> x = key == 1 ? r : other;
    EXPECT_EQ(x->isPressed(), canvas->isKeyPressed(key));
    EXPECT_EQ(x->isHeld(), canvas->isKeyHeld(key));
    EXPECT_EQ(x->isReleased(), canvas->isKeyReleased(key));
    EXPECT_EQ(x->getPressCount(), canvas->getKeyPressCount(key));
  }
}

// The pixels of a 40 x 40 image after painting the region's outline with
// the Graphics translated by (tx, ty).
std::vector<int32_t> outlinePixels(VMPtr<Region> r, int32_t tx, int32_t ty) {
  VMPtr<Image> image = Image::createImage(40, 40);
  VMPtr<Graphics> g = image->getGraphics();
  g->setColor(0xFF0000);
  g->translate(tx, ty);
  r->paint(g);
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(40 * 40);
  image->getRGB(rgb, 0, 40, 0, 0, 40, 40);
  return std::vector<int32_t>(rgb->elements(), rgb->elements() + rgb->length);
}

TEST_F(KeyRegion, PaintDrawsAtTheScreenPlaceWhateverTheTranslation) {
  Manager::originX = 3;
  Manager::originY = 4;
  VMPtr<Region> r = Region::create(1, 5, 6, 10, 8);
  const std::vector<int32_t> plain = outlinePixels(r, 0, 0);
  // The image's colours are as deep as the display's: compare with the
  // background of the corner.
  EXPECT_NE(plain[(6 + 4) * 40 + 5 + 3], plain[0]);
  EXPECT_EQ(plain[(6 + 4) * 40 + 5 + 2], plain[0]);
  EXPECT_EQ(plain[(6 + 4 + 1) * 40 + 5 + 3 + 1], plain[0]);
  EXPECT_EQ(outlinePixels(r, 7, -2), plain);
}

// The main thread drags over a region and releases while the canvas thread
// latches every frame and resets every few: every press reported is
// released, and the key ends up.
TEST_F(KeyRegion, DragOnTheMainThreadWhileTheCanvasLatches) {
  VMPtr<java::lang::Thread> canvasThread = tq::TqCanvas::canvasThread;
  int32_t resets = 0;
  canvas->onTick = [&](enginetest::ProbeCanvas* c) {
    c->latchKeys();
    if (c->ticks % 5 == 0) {
      c->resetKeys();
      ++resets;
    }
  };
  raise(HAL_EVENT_RESUME, {});
  display->setCurrent(VMPtr<RecordingCanvas>(canvas));
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > 0; }));
  Manager::originX = 0;
  Manager::originY = 0;
  add(1, 0, 0, 50, 50);
  add(2, 60, 0, 50, 50);
  for (int i = 0; i < 200; ++i) {
    press(i % 2 ? 10 : 70, 10);
    for (int x = 0; x < 120; x += 20) {
      drag(x, 20);
      VMThread::yield();
    }
    release(100, 20);
    VMThread::yield();
  }
  const int32_t ticks = canvas->ticks;
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > ticks + 2; }));
  EXPECT_EQ(Manager::keyStateCount, 0);
  int32_t held = 0;
  for (const std::string& s : canvas->log) held += s[0] == '+' ? 1 : -1;
  EXPECT_EQ(held, 0);
  EXPECT_FALSE(canvas->isKeyHeld(1));
  EXPECT_FALSE(canvas->isKeyHeld(2));
  EXPECT_GT(resets, 0);
  finish(VMPtr<enginetest::ProbeCanvas>(canvas), canvasThread);
}

}  // namespace
}  // namespace keyregions
