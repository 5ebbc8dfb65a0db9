// The screen object: what it paints and where, its animations' advance,
// its layer tables and the cache references its layers hold.

#include <gtest/gtest.h>

#include "ScreenEnv.h"
#include "tq_TqCanvas.h"
#include "ui_ResManager.h"

namespace {

using gametest::ScreenEnv;
using javax::microedition::lcdui::Graphics;
using ui::ResManager;
using ui::Screen;
namespace fx = gametest::screen;

constexpr uint32_t kWhite = 0xFFF8FCF8;
constexpr uint32_t kBlack = 0xFF000000;

VMPtr<VMArray<int32_t>> ints(std::initializer_list<int32_t> values) {
  VMPtr<VMArray<int32_t>> a = VMArray<int32_t>::create(static_cast<int32_t>(values.size()));
  int32_t i = 0;
  for (int32_t v : values) a->at(i++) = v;
  return a;
}

struct Pixels {
  std::vector<uint32_t> p;
  int32_t width;
  Pixels(const VMPtr<ScreenEnv::Image>& image) : p(ScreenEnv::pixels(image)), width(image->getWidth()) {}
  uint32_t at(int32_t x, int32_t y) const { return p[static_cast<size_t>(y * width + x)]; }
};

// Background, then the rectangles, then the layers in index order (a
// higher one covering a lower one); the clip ends at the game area.
TEST(Screen, PaintsBackgroundRectanglesThenLayersInOrder) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(3);
  s->setBackgroundColour(0xFFFFFF);
  s->setBackgroundEnabled(1);
  s->initRects(2);
  s->setRect(1, ints({0, 0, 20, 20}), 0x0000FF);
  s->addImageLayer(fx::kImages);  // red, its image at (3, 4) from the layer
  s->setLayerPosition(0, 10, 10);
  s->addFrameLayer(fx::kImages, fx::kAnims, 1, 16, 16);             // green
  s->addPlayerLayer(fx::kImages, fx::kAnims, 0, 100, 100);          // red at (103, 104)
  VMPtr<ScreenEnv::Image> image = ScreenEnv::blackImage(300, 400);
  VMPtr<Graphics> g = image->getGraphics();
  s->paint(g);
  const Pixels px(image);
  struct Case {
    int32_t x, y;
    uint32_t colour;
  };
  const Case cases[] = {
      {5, 5, fx::kBlue},    {19, 2, fx::kBlue},   {13, 14, fx::kRed},   {13, 21, fx::kRed},
      {16, 16, fx::kGreen}, {19, 19, fx::kGreen}, {23, 23, fx::kGreen}, {24, 24, kWhite},
      {103, 104, fx::kRed}, {110, 111, fx::kRed}, {102, 104, kWhite},   {111, 111, kWhite},
      {239, 319, kWhite},
      {240, 10, kBlack},    {10, 320, kBlack},
  };
  for (const Case& c : cases) EXPECT_EQ(px.at(c.x, c.y), c.colour) << c.x << "," << c.y;
  EXPECT_EQ(g->getClipX(), 0);
  EXPECT_EQ(g->getClipY(), 0);
  EXPECT_EQ(g->getClipWidth(), 240);
  EXPECT_EQ(g->getClipHeight(), 320);
  // A removed rectangle and a disabled background are not painted.
  s->removeRect(1);
  s->setBackgroundEnabled(0);
  VMPtr<ScreenEnv::Image> second = ScreenEnv::blackImage(240, 320);
  s->paint(second->getGraphics());
  const Pixels after(second);
  EXPECT_EQ(after.at(5, 5), kBlack);
  EXPECT_EQ(after.at(16, 16), fx::kGreen);
}

// Two colours fill the game area as the canvas's vertical gradient does,
// top colour first.
TEST(Screen, TwoBackgroundColoursFillAVerticalGradient) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(0);
  s->setBackgroundColours(0xFF0000, 0x0000FF);
  s->setBackgroundEnabled(1);
  VMPtr<ScreenEnv::Image> painted = ScreenEnv::blackImage(240, 320);
  s->paint(painted->getGraphics());
  VMPtr<ScreenEnv::Image> direct = ScreenEnv::blackImage(240, 320);
  tq::TqCanvas::fillVerticalGradient(direct->getGraphics(), 0, 0, 240, 320, 0xFF0000, 0x0000FF);
  const Pixels px(painted);
  EXPECT_EQ(px.p, ScreenEnv::pixels(direct));
  EXPECT_EQ(px.at(0, 0), fx::kRed);
  EXPECT_NE(px.at(0, 319), fx::kRed);
  EXPECT_EQ(px.at(0, 160), px.at(239, 160));  // rows are even
}

// On a canvas larger than the game area the controller moves the origin
// to the area's corner; the background fills exactly the area.
TEST(Screen, BackgroundFillsTheGameAreaAtTheGraphicsOrigin) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(0);
  s->setBackgroundColour(0xFFFFFF);
  s->setBackgroundEnabled(1);
  VMPtr<ScreenEnv::Image> image = ScreenEnv::blackImage(480, 640);
  VMPtr<Graphics> g = image->getGraphics();
  g->translate(120, 160);
  s->paint(g);
  const Pixels px(image);
  struct Case {
    int32_t x, y;
    uint32_t colour;
  };
  const Case cases[] = {{120, 160, kWhite}, {359, 479, kWhite}, {119, 160, kBlack}, {120, 159, kBlack},
                        {360, 479, kBlack}, {359, 480, kBlack}, {240, 320, kWhite}, {479, 639, kBlack}};
  for (const Case& c : cases) EXPECT_EQ(px.at(c.x, c.y), c.colour) << c.x << "," << c.y;
}

// A layer's own clip narrows its painting and is put back afterwards; a
// clip of width 0 leaves the Graphics' clip as it is.
TEST(Screen, LayerClipsNarrowAndRestoreAndAZeroWidthClipIsNone) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(2);
  s->addImageLayer(fx::kImages);                          // red 8 x 8 at (3, 4)
  s->setLayerClip(0, ints({5, 5, 2, 2}));
  s->addFrameLayer(fx::kImages, fx::kAnims, 1, 96, 96);  // green 8 x 8 at (96, 96)
  s->setLayerClip(1, ints({0, 0, 0, 320}));
  VMPtr<ScreenEnv::Image> image = ScreenEnv::blackImage(240, 320);
  VMPtr<Graphics> g = image->getGraphics();
  g->setClip(0, 0, 100, 100);
  s->paint(g);
  const Pixels px(image);
  EXPECT_EQ(px.at(5, 5), fx::kRed);
  EXPECT_EQ(px.at(6, 6), fx::kRed);
  EXPECT_EQ(px.at(4, 5), kBlack);
  EXPECT_EQ(px.at(7, 7), kBlack);
  EXPECT_EQ(px.at(96, 96), fx::kGreen);
  EXPECT_EQ(px.at(99, 99), fx::kGreen);
  EXPECT_EQ(px.at(100, 99), kBlack);  // the clip before the layers
  EXPECT_EQ(px.at(103, 103), kBlack);
}

// A finished animation n goes on to n + 1 on the tick that ends it; the
// set's last animation holds; an endless one never advances; nothing moves
// while paused or in a frame of 0 ms.
TEST(Screen, FinishedAnimationsAdvanceAndTheLastOneHolds) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(2);
  s->addPlayerLayer(fx::kImages, fx::kAnims, 0, 0, 0);
  s->addPlayerLayer(fx::kImages, fx::kAnims, fx::kLastAnimation, 0, 0);
  e.scene->frameTime = fx::kStepMs / 2;
  s->update();
  EXPECT_EQ(s->getLayerValue(0), 0);
  s->update();
  EXPECT_EQ(s->getLayerValue(0), 1);
  EXPECT_EQ(s->getLayerValue(1), fx::kLastAnimation);
  e.scene->frameTime = fx::kStepMs;
  s->setPaused(1);
  s->update();
  s->tick();
  EXPECT_EQ(s->getLayerValue(0), 1);
  s->setPaused(0);
  s->update();
  EXPECT_EQ(s->getLayerValue(0), fx::kEndlessAnimation);
  EXPECT_EQ(s->players->get(0)->getAnimation(), fx::kEndlessAnimation);
  e.scene->frameTime = 0;
  s->update();
  e.scene->frameTime = fx::kStepMs;
  for (int i = 0; i < 5; ++i) s->update();
  EXPECT_EQ(s->getLayerValue(0), fx::kEndlessAnimation);
  EXPECT_EQ(s->getLayerValue(1), fx::kLastAnimation);
  EXPECT_EQ(s->players->get(1)->getAnimation(), fx::kLastAnimation);
  EXPECT_EQ(s->players->get(1)->getLoopCount(), 0);
  // Layers past the count are not ticked.
  s->setLayerCount(0);
  s->setLayerValue(0, 0);
  s->update();
  EXPECT_EQ(s->getLayerValue(0), 0);
}

// The count moves within 0 .. capacity only; the add operations fill the
// next layer.
TEST(Screen, LayerCountStaysWithinTheCapacity) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(3);
  for (int i = 0; i < 3; ++i) s->addImageLayer(fx::kBoxless);
  EXPECT_EQ(s->getLayerCount(), 3);
  EXPECT_EQ(s->getLayerCapacity(), 3);
  for (int32_t layer = 0; layer < 3; ++layer) EXPECT_EQ(s->getLayerKind(layer), Screen::kImageLayer);
  for (int32_t n : {4, -1, 100}) {
    s->setLayerCount(n);
    EXPECT_EQ(s->getLayerCount(), 3) << n;
  }
  s->setLayerCount(1);
  EXPECT_EQ(s->getLayerCount(), 1);
  s->setLayerCount(3);
  // A fourth layer has no place: the set-up throws and the count stays.
  EXPECT_ANY_THROW(s->addImageLayer(fx::kBoxless));
  EXPECT_EQ(s->getLayerCount(), 3);
  // A screen without tables ignores the count and paints nothing of layers.
  VMPtr<Screen> bare = Screen::_VM_new();
  bare->_VM_init();
  bare->setLayerCount(1);
  EXPECT_EQ(bare->getLayerCount(), 0);
  bare->tick();
  bare->paint(ScreenEnv::blackImage(240, 320)->getGraphics());
  bare->dispose();
  EXPECT_EQ(bare->getLayerKind(0), -1);
}

int32_t gobCount(int32_t slot) { return ResManager::gobRefCounts->at(slot); }
int32_t setCount(int32_t slot) { return ResManager::animSetRefCounts->at(slot); }

// Disposing gives back exactly the references of the filled layers (once);
// clear empties the tables and leaves the counts.
TEST(Screen, DisposeReleasesTheFilledLayersReferencesOnce) {
  ScreenEnv e;
  VMPtr<Screen> a = e.screen(4);
  a->addFrameLayer(fx::kImages, fx::kAnims, 0, 0, 0);  // slot 0: both sets
  a->addImageLayer(fx::kBoxless);                      // slot 1
  VMPtr<Screen> b = e.screen(4);
  b->addPlayerLayer(fx::kImages, fx::kAnims, 0, 0, 0);
  b->addImageLayer(fx::kBoxless);
  ASSERT_EQ(ResManager::count, 2);
  EXPECT_EQ(gobCount(0), 2);
  EXPECT_EQ(setCount(0), 2);
  EXPECT_EQ(gobCount(1), 2);
  EXPECT_EQ(setCount(1), 0);
  a->dispose();
  EXPECT_EQ(gobCount(0), 1);
  EXPECT_EQ(setCount(0), 1);
  EXPECT_EQ(gobCount(1), 1);
  EXPECT_EQ(setCount(1), 0);
  for (int32_t layer = 0; layer < 4; ++layer) {
    EXPECT_EQ(a->getLayerKind(layer), -1);
    EXPECT_EQ(a->gobSlots->at(layer), -1);
    EXPECT_EQ(a->animSetSlots->at(layer), -1);
  }
  a->dispose();
  EXPECT_EQ(gobCount(0), 1);
  b->clear();
  EXPECT_EQ(gobCount(0), 1);
  EXPECT_EQ(gobCount(1), 1);
  EXPECT_EQ(b->getLayerKind(0), -1);
  EXPECT_FALSE(b->players->get(0));
  EXPECT_EQ(b->gobSlots->at(1), -1);
}

// Replacing or releasing a layer gives its references back; switching
// the shown image or frame keeps them; the value already set changes
// nothing.
TEST(Screen, LayerChangesAndTheirCacheReferences) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(3);
  s->addImageLayer(fx::kImages);
  s->addFrameLayer(fx::kImages, fx::kAnims, 0, 5, 6);
  EXPECT_EQ(gobCount(0), 2);
  VMPtr<tq::Paintable> red = s->drawables->get(0);
  s->setLayerValue(0, 0);
  EXPECT_EQ(s->drawables->get(0).get(), red.get());
  s->setLayerValue(0, 1);
  EXPECT_NE(s->drawables->get(0).get(), red.get());
  EXPECT_EQ(s->drawables->get(0).get(), ResManager::gobSets->get(0)->get(1).get());
  EXPECT_EQ(s->layerValues->at(0), 1);
  EXPECT_EQ(gobCount(0), 2);
  s->setLayerValue(1, 2);
  // The animation set came with the second acquire: slot 1.
  EXPECT_EQ(s->drawables->get(1).get(), ResManager::animSets->get(1)->getFrame(2).get());
  EXPECT_EQ(s->getLayerValue(1), 2);
  EXPECT_EQ(s->getLayerX(1), 5);
  EXPECT_EQ(setCount(1), 1);
  // A value the set does not have throws and leaves the layer.
  EXPECT_ANY_THROW(s->setLayerValue(0, 7));
  EXPECT_EQ(s->layerValues->at(0), 1);
  // Empty layers and layers past the capacity: nothing.
  s->setLayerValue(2, 1);
  s->setLayerValue(3, 1);
  s->setLayerPosition(3, 1, 1);
  s->setLayerStep(3, 1);
  EXPECT_EQ(s->getLayerKind(2), -1);
  // Replacing a layer releases its old sets first.
  s->setImageLayer(1, fx::kBoxless);
  EXPECT_EQ(gobCount(0), 1);
  EXPECT_EQ(setCount(1), 0);
  EXPECT_EQ(s->getLayerX(1), 0);
  s->releaseLayer(0);
  EXPECT_EQ(gobCount(0), 0);
  EXPECT_FALSE(ResManager::gobSets->get(0));
  s->releaseLayer(0);  // empty: nothing
  EXPECT_EQ(gobCount(0), 0);
  EXPECT_EQ(gobCount(2), 1);
  // A set-up that throws after the acquire leaves slots without a
  // drawable; releasing the layer gives them back.
  EXPECT_ANY_THROW(s->setFrameLayer(2, fx::kBoxless, fx::kAnims, 99, 0, 0));
  EXPECT_EQ(s->getLayerKind(2), -1);
  EXPECT_EQ(gobCount(2), 2);
  s->releaseLayer(2);
  EXPECT_EQ(gobCount(2), 1);
  EXPECT_EQ(s->gobSlots->at(2), -1);
}

// Tables made smaller than the count: paint and tick visit what they hold.
TEST(Screen, SmallerTablesThanTheCountArePaintedAndTickedWithin) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(3);
  for (int i = 0; i < 3; ++i) s->addPlayerLayer(fx::kImages, fx::kAnims, 0, 0, 0);
  s->dispose();
  s->initLayers(1);
  EXPECT_EQ(s->getLayerCount(), 3);  // initLayers keeps the count
  s->setPlayerLayer(0, fx::kImages, fx::kAnims, 0, 0, 0);
  e.scene->frameTime = fx::kStepMs;
  s->tick();
  EXPECT_EQ(s->getLayerValue(0), 1);
  s->paint(ScreenEnv::blackImage(240, 320)->getGraphics());
}

// A player layer is placed and stepped through its player; other layers
// through their offsets.
TEST(Screen, PositionsAndStepsByLayerKind) {
  ScreenEnv e;
  VMPtr<Screen> s = e.screen(2);
  s->addPlayerLayer(fx::kImages, fx::kAnims, fx::kEndlessAnimation, 7, 9);
  s->addFrameLayer(fx::kImages, fx::kAnims, 0, 3, 4);
  EXPECT_EQ(s->players->get(0)->getX(), 7);
  EXPECT_EQ(s->getLayerY(0), 9);
  EXPECT_EQ(s->offsets->get(0)->at(0), 0);
  s->setLayerPosition(0, 20, 30);
  s->setLayerPosition(1, 40, 50);
  EXPECT_EQ(s->players->get(0)->getY(), 30);
  EXPECT_EQ(s->offsets->get(0)->at(1), 0);
  EXPECT_EQ(s->offsets->get(1)->at(0), 40);
  EXPECT_EQ(s->getLayerY(1), 50);
  s->setLayerStep(0, 1);
  s->setLayerStep(1, 1);
  EXPECT_EQ(s->getLayerStep(0), 1);
  EXPECT_EQ(s->getLayerStep(1), -1);
}

}  // namespace
