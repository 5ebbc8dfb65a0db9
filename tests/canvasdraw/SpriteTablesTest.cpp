// The canvas's sprite data tables and instances, over sprite resources
// written by the content writer: number readers, loading, keep marks and
// release, a failed load, animation stepping, rectangles and pieces.

#include <gtest/gtest.h>

#include "AnimationSetWriter.h"
#include "DrawCanvas.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "SimplePackWriter.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Resources.h"

using namespace test::canvasdraw;
using pack_fixtures::ProgramFolder;
using tq::Resources;

namespace {

using Bytes = std::vector<uint8_t>;

content::Animation steps(int loops, std::vector<int> xs, std::vector<int> marks = {}, std::vector<int> blend = {},
                         int duration = 0) {
  content::Animation a;
  a.loops = loops;
  for (size_t i = 0; i < xs.size(); ++i) {
    a.steps.push_back({0, xs[i], 0, duration, marks.empty() ? 0 : marks[i], blend.empty() ? 0 : blend[i]});
  }
  return a;
}

// Animations: 0 plays once, 1 loops, 2 has a mark-1 frame, 3 a mark-3
// frame, 4 moves smoothly over 100-unit frames. Frame 0 has two pieces and
// two rectangles.
content::AnimationSet spriteSet() {
  content::AnimationSet set;
  set.animations = {steps(1, {0, 10, 20}),
                    steps(-1, {0, 10, 20}),
                    steps(-1, {0, 0, 0, 0}, {0, 1, 0, 0}),
                    steps(-1, {0, 0, 0}, {0, 3, 0}),
                    steps(-1, {0, 10}, {0, 0}, {1, 0}, 1)};
  content::AnimationFrame frame;
  frame.parts = {{3, 2, -1, 1}, {5, -4, 6, 2}};
  frame.boxes = {{4, 1, 6, 2, false, 2}, {0, 0, 3, 3, false, 3}};
  set.frames = {frame, content::AnimationFrame{}};
  set.durations = {10, 100};
  return set;
}

class SpriteTables : public ::testing::Test {
 protected:
  void SetUp() override {
    const Bytes sprite = content::writeAnimationSet(spriteSet(), true);
    const Bytes cut(sprite.begin(), sprite.begin() + sprite.size() / 2);
    std::vector<content::PackResource> resources = {{0, sprite}, {0, cut}, {0, sprite}, {0, sprite}};
    folder.put("RP2.rp", content::writeSimplePack(resources));
    VMTestEnv::start();
    canvas = DrawCanvas::make().get();  // held by TqCanvas::instance
  }
  void TearDown() override { DrawCanvas::stop(); }

  // Every table has as many rows as spriteIds.
  void expectAligned(int rows) {
    EXPECT_EQ(canvas->spriteIds->length, rows);
    for (VMArray_Base* table :
         {static_cast<VMArray_Base*>(canvas->animHeaders.get()), static_cast<VMArray_Base*>(canvas->animFrameBytes.get()),
          static_cast<VMArray_Base*>(canvas->animFrameWords.get()), static_cast<VMArray_Base*>(canvas->frameRectStarts.get()),
          static_cast<VMArray_Base*>(canvas->frameHeaders.get()), static_cast<VMArray_Base*>(canvas->framePieces.get()),
          static_cast<VMArray_Base*>(canvas->rectWords.get()), static_cast<VMArray_Base*>(canvas->rectShorts.get()),
          static_cast<VMArray_Base*>(canvas->frameDurations.get())}) {
      EXPECT_EQ(table->length, rows);
    }
  }

  ProgramFolder folder;
  DrawCanvas* canvas = nullptr;
};

TEST_F(SpriteTables, CompactNumbers) {
  const struct {
    Bytes bytes;
    bool isSigned;
    int value;
  } cases[] = {{{0xFF, 0x01, 0x2C}, false, 300}, {{0x7F}, false, 127}, {{0xFE}, false, 254},
               {{0x80, 0xFF, 0x38}, true, -200}, {{0xFE}, true, -2},     {{0x7F}, true, 127}};
  for (const auto& c : cases) {
    VMPtr<VMArray<int8_t>> data = bytesOf(c.bytes);
    canvas->spriteStream = Resources::openStream(data, 0, data->length);
    EXPECT_EQ(c.isSigned ? canvas->readSigned() : canvas->readCount(), c.value);
  }
  // Piece transforms come four to a byte, the first in the top bits.
  canvas->loadSprite(2048);
  canvas->loadSprite(2048);  // loaded: not read again
  expectAligned(1);
  const int32_t pieces0 = canvas->framePieces->get(0)->at(0);
  EXPECT_EQ(pieces0 & 3, 1);
  EXPECT_EQ(canvas->framePieces->get(0)->at(1) & 3, 2);
  EXPECT_EQ(canvas->getFrameCount(2048), 2);
}

TEST_F(SpriteTables, KeepReleaseAndAFailedLoad) {
  canvas->loadSprite(2048);
  canvas->loadSprite(2049);  // truncated: no row, tables aligned
  EXPECT_EQ(canvas->indexOfSprite(2049), -1);
  EXPECT_FALSE(canvas->spriteStream);
  expectAligned(1);
  canvas->loadSprite(2050);
  canvas->loadSprite(2051);
  expectAligned(3);
  VMArray<int32_t>* third = canvas->animHeaders->get(2).get();
  canvas->setSpriteKept(2048, 1);
  canvas->setSpriteKept(2051, 1);
  canvas->setSpriteKept(2050, 1);
  canvas->setSpriteKept(2050, 0);
  canvas->setSpriteKept(999, 1);  // not loaded: nothing
  canvas->releaseSprites();
  expectAligned(2);
  EXPECT_EQ(canvas->indexOfSprite(2048), 0);
  EXPECT_EQ(canvas->indexOfSprite(2050), -1);
  EXPECT_EQ(canvas->indexOfSprite(2051), 1);
  EXPECT_EQ(canvas->animHeaders->get(1).get(), third);  // moved, not copied
  canvas->setSpriteKept(2048, 0);
  canvas->setSpriteKept(2051, 0);
  canvas->releaseSprites();
  EXPECT_FALSE(canvas->spriteIds);
  EXPECT_FALSE(canvas->frameDurations);
  canvas->loadSprite(2051);
  EXPECT_EQ(canvas->indexOfSprite(2051), 0);
  java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { canvas->loadSprite(32768); });
  java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { canvas->loadSprite(-1); });
  EXPECT_EQ(canvas->addHandle(5), -1);
  EXPECT_EQ(canvas->addHandle(6), -2);
  canvas->setHandle(-1, 9);
  EXPECT_EQ(canvas->getHandle(-1), 9);
  EXPECT_EQ(canvas->getHandle(-2), 6);
}

TEST_F(SpriteTables, PlayOnceAndLoopWithoutJumping) {
  canvas->loadSprite(2048);
  canvas->initInstance(0, 2048, 0);
  EXPECT_TRUE(canvas->updateInstance(0, 5));
  EXPECT_FALSE(canvas->updateInstance(0, 100));  // rests on the last frame
  EXPECT_EQ(canvas->getInstanceFrameIndex(0), 2);
  EXPECT_EQ(canvas->getInstanceTime(0), 30);
  EXPECT_EQ(canvas->motionX, 20);
  EXPECT_FALSE(canvas->updateInstance(0, 10));
  EXPECT_EQ(canvas->motionX, 0);
  canvas->initInstance(3, 2048, 1);
  EXPECT_EQ(canvas->spriteInstances->length, 32);
  EXPECT_TRUE(canvas->updateInstance(3, 25));
  EXPECT_EQ(canvas->motionX, 20);
  EXPECT_TRUE(canvas->updateInstance(3, 10));  // over the wrap to frame 0
  EXPECT_EQ(canvas->getInstanceFrameIndex(3), 0);
  EXPECT_EQ(canvas->motionX, 0);
  canvas->copyInstance(3, 1);
  EXPECT_EQ(canvas->getInstanceAnimation(1), 1);
  canvas->setInstanceFrame(1, 2);
  EXPECT_EQ(canvas->motionX, 20);
  EXPECT_EQ(canvas->getTransformedMotionX(4), 0);
  EXPECT_EQ(canvas->getTransformedMotionY(4), 20);
  EXPECT_EQ(canvas->getTransformedMotionX(2), -20);
}

TEST_F(SpriteTables, MarksAndSmoothMoves) {
  canvas->loadSprite(2048);
  canvas->initInstance(0, 2048, 2);
  canvas->updateInstance(0, 35);  // passes the mark-1 frame, then two of mark 0
  EXPECT_EQ(canvas->getInstanceFrameIndex(0), 3);
  EXPECT_EQ(canvas->getShownFrameIndex(0), 1);
  canvas->initInstance(1, 2048, 3);
  canvas->updateInstance(1, 25);  // time enough for frame 2, but 1 has mark 3
  EXPECT_EQ(canvas->getInstanceFrameIndex(1), 1);
  EXPECT_EQ(canvas->getShownFrameIndex(1), 1);
  canvas->initInstance(2, 2048, 4);
  canvas->updateInstance(2, 50);
  EXPECT_EQ(canvas->motionX, 5);  // halfway from 0 toward 10
}

TEST_F(SpriteTables, RectanglesAndPieces) {
  canvas->loadSprite(2048);
  canvas->initInstance(0, 2048, 0);
  VMPtr<VMArray<int16_t>> nine = VMArray<int16_t>::create(9);
  EXPECT_EQ(canvas->getInstanceRects(nine, 0, 2), 1);
  const std::vector<int16_t> mirrored = {-10, 1, 6, 2, 2};
  EXPECT_EQ(std::vector<int16_t>(nine->elements(), nine->elements() + 5), mirrored);
  VMPtr<VMArray<int16_t>> ten = VMArray<int16_t>::create(10);
  EXPECT_EQ(canvas->getSpriteFrameRects(ten, 2048, 0, 1), 2);
  EXPECT_EQ(ten->at(1), -3);  // y 1, height 2, mirrored vertically
  EXPECT_EQ(canvas->getSpriteFrameRectsOfType(ten, 2048, 0, 0, 3), 1);
  EXPECT_EQ(std::vector<int16_t>(ten->elements(), ten->elements() + 5), (std::vector<int16_t>{0, 0, 3, 3, 3}));
  EXPECT_EQ(canvas->getInstanceRectsOfType(ten, 0, 0, 7), 0);
  EXPECT_EQ(canvas->selectSprite(2048, 0), 2);
  EXPECT_EQ(canvas->selectSprite(2048, 1), 0);
  VMPtr<VMArray<int16_t>> pieces = VMArray<int16_t>::create(7);  // room for one
  EXPECT_EQ(canvas->getInstancePieces(pieces, 0, 0), 2);
  EXPECT_EQ(std::vector<int16_t>(pieces->elements(), pieces->elements() + 4), (std::vector<int16_t>{3, 2, 1, 1}));
  pieces = VMArray<int16_t>::create(8);
  canvas->getInstancePieces(pieces, 0, 2);
  EXPECT_EQ(std::vector<int16_t>(pieces->elements(), pieces->elements() + 8),
            (std::vector<int16_t>{3, -2, 1, 3, 5, -4, 6, 0}));
}

}  // namespace

namespace {

using Image = javax::microedition::lcdui::Image;

// Six 2 x 3 sprites; 3 red, 5 blue, the others green.
VMPtr<VMArray<tq::Gob>> images() {
  VMPtr<VMArray<tq::Gob>> gobs = VMArray<tq::Gob>::create(6);
  for (int i = 0; i < 6; ++i) {
    const uint32_t colour = i == 3 ? 0xFFF80000 : i == 5 ? 0xFF0000F8 : 0xFF00FC00;
    gobs->set(i, tq::Gob::create(intsOf(std::vector<int32_t>(6, int32_t(colour))), 2, 3, 0));
  }
  return gobs;
}

TEST_F(SpriteTables, FramesDrawAndMeasureTheirPieces) {
  canvas->loadSprite(2048);
  VMPtr<VMArray<tq::Gob>> gobs = images();
  VMPtr<VMArray<int32_t>> box = VMArray<int32_t>::create(4);
  // Piece 0: sprite 3 at (2, -1) mirrored vertically; piece 1: sprite 5
  // at (-4, 6) mirrored horizontally.
  canvas->getSpriteFrameBounds(gobs, 2048, 0, 0, box);
  EXPECT_EQ(std::vector<int32_t>(box->elements(), box->elements() + 4), (std::vector<int32_t>{2, -2, 2, 11}));
  canvas->initInstance(0, 2048, 0);
  canvas->getInstanceBounds(gobs, 0, 100, 200, 2, box);  // mirrored: x from -4
  EXPECT_EQ(std::vector<int32_t>(box->elements(), box->elements() + 4), (std::vector<int32_t>{96, 198, 2, 11}));
  canvas->getSpriteFrameBounds(gobs, 2048, 1, 0, box);  // no pieces
  EXPECT_EQ(std::vector<int32_t>(box->elements(), box->elements() + 4), (std::vector<int32_t>{0, 0, 0, 0}));
  VMPtr<Image> target = Image::createMutableImage(24, 24, 0, 0);
  canvas->drawInstance(target->getGraphics(), gobs, 0, 10, 10, 0);
  const std::vector<uint32_t> p = pixelsOf(target);
  EXPECT_EQ(p[8 * 24 + 12], 0xFFF80000u);   // red from (12, 8)
  EXPECT_EQ(p[10 * 24 + 13], 0xFFF80000u);
  EXPECT_EQ(p[16 * 24 + 12], 0xFF0000F8u);  // blue from (12, 16)
  EXPECT_EQ(p[18 * 24 + 13], 0xFF0000F8u);
  EXPECT_EQ(p[8 * 24 + 11], 0xFF000000u);
  EXPECT_EQ(p[11 * 24 + 12], 0xFF000000u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(gobs->get(i)->x, 0);  // offsets put back
    EXPECT_EQ(gobs->get(i)->y, 0);
  }
  // A missing image: the offsets of those drawn are put back all the same.
  gobs->set(5, nullptr);
  EXPECT_THROW(canvas->drawSpriteFrame(target->getGraphics(), gobs, 2048, 0, 0, 0, 0), java::lang::Throwable*);
  EXPECT_EQ(gobs->get(3)->x, 0);
}

}  // namespace
