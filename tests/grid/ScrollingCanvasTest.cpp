// A running canvas scrolls a 64 x 20 map with objects, players and a pool
// across its edges into its screen buffer, through an unbuffered layer in
// the top half of the view and a buffered one in the bottom half, while
// touch regions press canvas keys. Both halves show what the unbuffered
// layer paints into an image.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "../engine/EngineFixture.h"
#include "GridCanvas.h"
#include "GridFixtures.h"
#include "HALProperties.h"
#include "HALScreen.h"
#include "HALWindow.h"
#include "RasterSurface.h"
#include "tq_CellLayer.h"
#include "tq_input_PointerInputKeyManager.h"
#include "tq_input_PointerInputKeyRegion.h"

namespace gridtest {

namespace {

using tq::CellLayer;
using Manager = tq::input::PointerInputKeyManager;
using Region = tq::input::PointerInputKeyRegion;

constexpr int32_t kColumns = 64;
constexpr int32_t kRows = 20;
constexpr int32_t kCell = 16;
constexpr int32_t kViewW = 240;
constexpr int32_t kHalf = 160;

class ScrollingCanvas : public enginetest::EngineFixture {
 protected:
  // A layer over the map with 30 objects, 10 players and a full pool of
  // 60 entries; both layers are set up alike.
  static void fill(VMPtr<CellLayer> l, VMPtr<Image> tiles, const std::vector<VMPtr<tq::Gob>>& sprites) {
    l->setTiles(kColumns, kRows, tiles, kCell, kCell);
    const int32_t animated = l->createAnimatedCell(1);
    for (int32_t r = 0; r < kRows; ++r) {
      for (int32_t c = 0; c < kColumns; ++c) l->setCell(c, r, (c * 7 + r * 3) % 11 == 0 ? animated : (c + r) % 9);
    }
    l->setObjectCapacity(30);
    for (int32_t i = 0; i < 30; ++i) l->addObject(sprites[i % 4], i * 37 % 1100 - 30, i * 53 % 360 - 20, i % 4);
    l->setAnimatedCellCapacity(10);
    for (int32_t i = 0; i < 10; ++i) {
      const int32_t x = i * 101 % 1024, y = i * 67 % 320;
      if (i % 2) {
        l->addAnimatedCell(BlinkingPlayer::_VM_new()->_VM_init(), x, y);
      } else {
        l->addAnimatedCell(sprites[i % 4], x, y);
      }
    }
    l->setPoolCapacity(60);
    for (int32_t i = 0; i < 60; ++i) l->addPoolObject(sprites[i % 4], i * 17 % 1024, i * 29 % 320, i % 4);
  }
  // The world at frame f: the camera's path runs from 150 pixels left of
  // the map and 40 above it to as far past its right and bottom edges;
  // ten pool entries move and the animated cell changes.
  static void step(VMPtr<CellLayer> l, const std::vector<VMPtr<tq::Gob>>& sprites, int32_t f) {
    const int32_t path = (kColumns * kCell - kViewW + 300) / 13;
    const int32_t p = f % path;
    l->setPosition(-150 + p * 13, -40 + p * 11 % (kRows * kCell - kHalf + 81));
    for (int32_t k = 0; k < 10; ++k) {
      const int32_t h = (f * 10 + k) % 60;
      l->setPoolObject(sprites[(f + k) % 4], (h * 17 + f * 5) % 1100 - 40, (h * 29 + f * 3) % 360 - 20, f % 4, h);
    }
    if (f % 5 == 0) l->setAnimatedCell(-1, 1 + f % 8);
  }
};

TEST_F(ScrollingCanvas, ScrollsAMapAcrossItsEdgesWhileRegionsPressKeys) {
  loadPropertiesUnderOwnName();
  ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  VMPtr<GridCanvas> canvas = makeGridCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  pumpMessages();
  canvas->updateScreenSize();
  ASSERT_EQ(canvas->getWidth(), kViewW);
  ASSERT_EQ(canvas->getHeight(), 2 * kHalf);

  std::vector<VMPtr<tq::Gob>> sprites = {randomSprite(16, 16, -8, -16, 31), randomSprite(24, 12, -12, -6, 32),
                                         randomSprite(8, 30, 0, -30, 33), randomSprite(40, 8, -20, 0, 34)};
  VMPtr<Image> tiles = randomImage(8 * kCell, 2 * kCell, 35, true);
  VMPtr<CellLayer> plain = CellLayer::create(kViewW, kHalf);
  VMPtr<CellLayer> buffered = CellLayer::_VM_new()->_VM_init(1, 0, 0, kViewW, kHalf);
  fill(plain, tiles, sprites);
  fill(buffered, tiles, sprites);

  std::atomic<bool> inputDone{false};
  std::vector<std::string> heldPerTick;
  int32_t mostCopies = 0;
  int64_t lastPaintTime = 0;
  canvas->onTick = [&](enginetest::ProbeCanvas* c) {
    if (c->ticks == 1) {
      Manager::addRegion(Region::create(5, 0, 0, kViewW / 2, 2 * kHalf));
      Manager::addRegion(Region::create(6, kViewW / 2, 0, kViewW / 2, 2 * kHalf));
    }
    // The world stands still from the quitting frame on.
    if (inputDone && c->ticks > 120) return c->quit();
    c->latchKeys();
    std::string held = std::string(c->isKeyHeld(5) ? "5" : "") + (c->isKeyHeld(6) ? "6" : "");
    if (heldPerTick.empty() || heldPerTick.back() != held) heldPerTick.push_back(held);
    step(plain, sprites, c->ticks);
    step(buffered, sprites, c->ticks);
  };
  canvas->onPaint = [&](VMPtr<Graphics> g) {
    g->setColor(0);
    g->fillRect(0, 0, kViewW, kHalf);
    g->setClip(0, 0, kViewW, kHalf);
    plain->paint(g);
    g->translate(0, kHalf);
    g->setClip(0, 0, kViewW, kHalf);
    canvas->copies.clear();
    buffered->paint(g);
    mostCopies = std::max(mostCopies, static_cast<int32_t>(canvas->copies.size()));
    g->translate(0, -kHalf);
    lastPaintTime = tq::TqCanvas::getTimeMillis();
  };
  display->setCurrent(canvas);
  // Press on the left region, drag onto the right one (the left one stays
  // latched), release; then a tap on the right one.
  auto at = [&](int32_t tick) { ASSERT_TRUE(waitFor([&] { return canvas->ticks >= tick; })); };
  at(10);
  canvas->pointerPressed(50, 100);
  at(20);
  canvas->pointerDragged(200, 100);
  at(30);
  canvas->pointerReleased(200, 100);
  at(40);
  canvas->pointerPressed(200, 250);
  at(50);
  canvas->pointerReleased(200, 250);
  inputDone = true;
  ASSERT_TRUE(waitFor([&] { return !thread->isAlive(); }));
  EXPECT_TRUE(java_test::joinThread(thread));

  EXPECT_EQ(take(canvas->keys), "+5 -5 +6 -6");
  EXPECT_EQ(heldPerTick, std::vector<std::string>({"", "5", "", "6", ""}));
  EXPECT_GE(canvas->paints, 120);
  EXPECT_GE(mostCopies, 1);
  EXPECT_LE(mostCopies, 4);

  // What the unbuffered layer paints at the last frame's canvas time.
  enginetest::TestClock::now = lastPaintTime;
  VMPtr<Image> expected = Image::createImage(kViewW, kHalf);
  VMPtr<Graphics> g = expected->getGraphics();
  g->setColor(0);
  g->fillRect(0, 0, kViewW, kHalf);
  plain->paint(g);
  const std::vector<int32_t> want = pixels(expected);
  RasterSurface* surface = canvas->screenBuffer->surface;
  int64_t wrongTop = 0, wrongBottom = 0;
  for (int32_t y = 0; y < kHalf; ++y) {
    for (int32_t x = 0; x < kViewW; ++x) {
      const uint16_t pixel = rasterPack565(static_cast<uint32_t>(want[y * kViewW + x]));
      wrongTop += surface->pixels[y * surface->stride + x] != pixel;
      wrongBottom += surface->pixels[(y + kHalf) * surface->stride + x] != pixel;
    }
  }
  EXPECT_EQ(wrongTop, 0);
  EXPECT_EQ(wrongBottom, 0);
}

}  // namespace
}  // namespace gridtest
