// A game canvas that plays a two-animation set with boxes into its screen
// buffer, its sprites and set read through the canvas from a pack; and the
// steady state of update, paint and collision tests, which allocates
// nothing once warm.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "AnimationSetWriter.h"
#include "DrawTestSupport.h"
#include "HALEvents.h"
#include "HALProperties.h"
#include "HALScreen.h"
#include "HALWindow.h"
#include "PlainCanvas.h"
#include "RasterSurface.h"
#include "SimplePackWriter.h"
#include "SpriteSetWriter.h"
#include "VMHeap.h"
#include "VMTestEnv.h"
#include "tq_AnimPlayer.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"
#include "tq_TqCanvas.h"

using namespace draw_test;
using tq::AnimPlayer;
using tq::graphics::CollisionBox;

namespace test::drawables {

// Ticks advance both players by 10; paints draw them.
class PlayCanvas : public tq::TqCanvas {
  VM_CLASS(PlayCanvas, tq::TqCanvas)

 public:
  void tick() override {
    VMPtr<AnimPlayer>(walker)->update(10);
    VMPtr<AnimPlayer>(blinker)->update(10);
  }
  void paintFrame(VMPtr<Graphics> g) override {
    VMPtr<AnimPlayer>(walker)->paint(g);
    VMPtr<AnimPlayer>(blinker)->paint(g);
  }
  void _VM_markReferences(int colour) override {
    _VM_mark(walker, colour);
    _VM_mark(blinker, colour);
    Base::_VM_markReferences(colour);
  }
  VMField<AnimPlayer> walker;
  VMField<AnimPlayer> blinker;
};

}  // namespace test::drawables

VM_REGISTER_CLASS(test::drawables::PlayCanvas, "test.drawables.PlayCanvas", "tq.TqCanvas", 0);

namespace {

using test::drawables::PlayCanvas;

// Sprites: 0 red-green, 1 blue (from the sheet). Animation 0 walks
// sprite 0 right by 2 per step over frames with one box; animation 1
// shows sprite 1, then nothing, endlessly.
void putPack(pack_fixtures::ProgramFolder& folder) {
  content::AnimationSet anims;
  anims.animations = {{-1, {{0, 0, 0, 0}, {0, 2, 0, 0}, {0, 4, 0, 0}}}, {-1, {{1, 0, 0, 0}, {2, 0, 0, 0}}}};
  anims.frames = {{{{0, 0, 0, 0}}, {{0, 0, 2, 1, false, 0}}}, {{{1, 0, 0, 0}}, {{0, 0, 1, 1, true, 0}}}, {{}, {}}};
  anims.durations = {10};
  content::SpriteSet sprites;
  sprites.sprites = {{0, 0, 0, 0, 2, 1, 0, 0, false, 2, 1}, {0, 0, 2, 0, 1, 1}};
  folder.put("RP2.rp", content::writeSimplePack({{0, sheetPng()},
                                                {0, content::writeSpriteSet(sprites)},
                                                {0, content::writeAnimationSet(anims)}}));
}

VMPtr<AnimPlayer> player(const VMPtr<tq::AnimSet>& set, int anim, int x, int y) {
  VMPtr<AnimPlayer> p = set->createPlayer(anim);
  p->setX(x);
  p->setY(y);
  return p;
}

uint32_t screenPixel(PlayCanvas* canvas, int x, int y) {
  const RasterSurface* s = canvas->screenBuffer->surface;
  const uint16_t c = s->pixels[y * s->stride + x];
  return 0xFF000000u | (c & 0xF800u) << 8 | (c & 0x07E0u) << 5 | (c & 0x001Fu) << 3;
}

TEST(CanvasPlay, TwoAnimationsIntoTheScreenBuffer) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  putPack(folder);
  // A main window gives the canvas's screen buffer the device's size; its
  // single-instance lock is named after a MIDlet of this process alone.
  std::filesystem::create_directories(folder.root() / "properties");
  std::ofstream(folder.root() / "properties" / "app.prop")
      << "MIDlet-Name: drawables-" << getpid() << "\n";
  HAL_loadProperties();
  HAL_createEventRegistry();
  ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  VMPtr<PlayCanvas> canvas = PlayCanvas::_VM_new();
  canvas->_VM_init(VMPtr<tq::TqCanvas::MIDlet>());
  VMPtr<VMArray<tq::Gob>> gobs = canvas->getGobs(2049);
  VMPtr<tq::AnimSet> set = canvas->getAnimSet(2050);
  set->setGobs(gobs);
  canvas->walker = player(set, 0, 10, 10);
  canvas->blinker = player(set, 1, 20, 10);
  VMPtr<AnimPlayer> walker = canvas->walker;
  VMPtr<AnimPlayer> blinker = canvas->blinker;
  walker->update(0);
  int32_t width = 0, height = 0;
  ASSERT_EQ(HAL_getScreenBufferSize(canvas->screenBuffer, &width, &height), HAL_OK);
  ASSERT_GE(width, 40);
  ASSERT_GE(height, 20);

  std::vector<uint32_t> seen;
  for (int frame = 0; frame < 4; ++frame) {
    VMPtr<javax::microedition::lcdui::Graphics> g = canvas->getGraphics();
    g->setColor(0);
    g->fillRect(0, 0, 40, 20);
    canvas->paintFrame(g);
    const int x = walker->getX();
    EXPECT_EQ(screenPixel(canvas.get(), x, 10), kRed) << frame;
    EXPECT_EQ(screenPixel(canvas.get(), x + 1, 10), kGreen) << frame;
    EXPECT_EQ(screenPixel(canvas.get(), 20, 10), frame % 2 == 0 ? kBlue : kBlack) << frame;
    // The walker's box follows it; the blinker has a box only on its
    // first frame.
    EXPECT_TRUE(walker->collidesWith(x + 1, 10));
    EXPECT_FALSE(walker->collidesWith(x + 2, 10));
    EXPECT_EQ(blinker->getBoxCount(), frame % 2 == 0 ? 1 : 0);
    seen.push_back(static_cast<uint32_t>(x));
    canvas->tick();
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{10, 12, 14, 14}));  // a loop moves 4: the wrap adds nothing
  test_support::stopCanvasThread();
}

TEST(CanvasPlay, WarmUpdatesPaintsAndCollisionsAllocateNothing) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  putPack(folder);
  VMPtr<tq::AnimSet> set = tq::Resources::getAnimSet(2050);
  set->setGobs(tq::ResourcesExt::getGobs(2049));
  VMPtr<AnimPlayer> a = player(set, 0, 10, 10);
  VMPtr<AnimPlayer> b = player(set, 1, 11, 10);
  VMPtr<javax::microedition::lcdui::Image> image = blackImage(40, 20);
  VMPtr<javax::microedition::lcdui::Graphics> g = image->getGraphics();
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(6);
  VMPtr<CollisionBox> box = CollisionBox::make();
  int hits = 0;
  auto round = [&] {
    a->update(7);
    b->update(7);
    a->paint(g);
    b->paint(g, 1, 1, 2);
    hits += a->collidesWith(b) + a->collidesWith(12, 10) + a->collides(0, 0, 0, -1, b, 0, 0, 0, -1, out);
    hits += a->getFirstBox(box);
    a->paintBoxes(g);
  };
  for (int i = 0; i < 10; ++i) round();  // warm: scratch arrays and frame caches
  const uint64_t before = _VM_heapState().allocated;
  for (int i = 0; i < 1000; ++i) round();
  EXPECT_EQ(_VM_heapState().allocated, before);
  EXPECT_GT(hits, 0);
}

}  // namespace
