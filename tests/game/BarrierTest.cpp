// Barriers with a scripted camera (the test writes the loader's per-view
// pairs): the box types on main objects A and B as one table, the view,
// the throwers' timing, the flyer's aim, walking off platforms and reset.

#include <gtest/gtest.h>

#include <vector>

#include "PlayWorld.h"
#include "ui_ResManager.h"

using gametest::PlayWorld;
using gametest::playerOf;
using scene::maingame::InGameBarrier;
using scene::maingame::InGameObject;
using O = scene::maingame::InGameObject;
using B = scene::maingame::InGameBarrier;
namespace play = gametest::play;

namespace {

using Barrier = VMPtr<InGameBarrier>;
using Object = VMPtr<InGameObject>;

// A main object walking on the world's platform at x.
Object walker(PlayWorld& world, int32_t x) {
  Object o = world.object(x, PlayWorld::kPlatformTop, O::kWalk);
  o->state = O::kOnPlatform;
  o->airborne = 0;
  o->platformIndex = PlayWorld::kPlatform;
  o->setPlatformRange(0, PlayWorld::kPlatformRight);
  return o;
}

// A still barrier (armed: no fall-and-walk step) of box type t at
// (100, 100), the camera of the upper view at (0, 0).
Barrier still(PlayWorld& world, int32_t animSetId, int32_t kind = 9) {
  Barrier b = world.barrier(animSetId, kind, 100, PlayWorld::kPlatformTop);
  b->setArmed(1);
  world.camera(0, 0, 0);
  return b;
}

// The slots a barrier's sets sit in, as resource ids.
int32_t gobIdOf(const Barrier& b) { return ui::ResManager::ids->get(0)->at(b->gobSlots->at(0)); }
int32_t animSetIdOf(const Barrier& b) { return ui::ResManager::ids->get(1)->at(b->animSetSlots->at(0)); }

int32_t childCount(const Barrier& b) {
  int32_t n = 0;
  for (int32_t i = 0; b->children && i < b->children->length; ++i) n += b->children->get(i) ? 1 : 0;
  return n;
}

TEST(Barrier, BoxTypesOnMainObjects) {
  struct Case {
    int32_t type;
    bool hurt;
    int32_t state, animation, lives, x;  // A afterwards
    int32_t barrierAnimation;
    int32_t gathered;
  };
  const int32_t kX = 104;
  const int32_t kPushedX = kX + 12;  // out of the 12-pixel overlap, to the right
  const std::vector<Case> cases = {
      {0, false, O::kOnPlatformHurt, O::kWalkHurt, 4, kX, B::kHarmed, 0},
      {0, true, O::kOnPlatform, O::kWalk, 5, kX, B::kStanding, 0},
      {1, false, O::kDying, O::kDie, 0, kX, B::kHarmed, 0},
      {1, true, O::kOnPlatform, O::kWalk, 5, kX, B::kStanding, 0},
      {2, false, O::kLandedAction, O::kAction, 5, kX, B::kStruck, 0},
      {2, true, O::kOnPlatform, O::kWalk, 5, kX, B::kStanding, 0},
      {3, false, O::kPushedOnPlatform, O::kWalk, 5, kPushedX, B::kStanding, 0},
      {3, true, O::kPushedOnPlatform, O::kWalk, 5, kPushedX, B::kStanding, 0},
      {4, false, O::kOnPlatform, O::kWalk, 5, kX, B::kFallLeft, 1},
      {4, true, O::kOnPlatform, O::kWalk, 5, kX, B::kFallLeft, 1},
      {5, false, O::kOnPlatform, O::kWalk, 6, kX, B::kFallLeft, 0},
      {5, true, O::kOnPlatform, O::kWalk, 6, kX, B::kFallLeft, 0},
      {6, false, O::kOnPlatform, O::kWalk, 5, kX, B::kFallLeft, 0},
      {7, false, O::kPushedOnPlatform, O::kWalk, 5, kPushedX, B::kStanding, 0},
      {7, true, O::kPushedOnPlatform, O::kWalk, 5, kPushedX, B::kStanding, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "type " << k.type << (k.hurt ? ", A hurt" : ""));
    PlayWorld world;
    Object a = walker(world, kX);
    Object b = walker(world, kX);
    a->hurt = k.hurt;
    InGameObject::mainObjectA = a;
    InGameObject::mainObjectB = b;
    Barrier barrier = still(world, play::barrierSet(k.type));
    barrier->tick();
    EXPECT_TRUE(barrier->isInView());
    EXPECT_EQ(a->getState(), k.state);
    EXPECT_EQ(a->getLayerValue(0), k.animation);
    EXPECT_EQ(a->lives, k.lives);
    EXPECT_EQ(playerOf(a)->getX(), k.x);
    EXPECT_EQ(barrier->getLayerValue(0), k.barrierAnimation);
    EXPECT_EQ(InGameObject::gathered, k.gathered);
    // Both touch the barrier: only A gets the effect.
    EXPECT_EQ(b->getState(), O::kOnPlatform);
    EXPECT_EQ(b->lives, 5);
    EXPECT_EQ(playerOf(b)->getX(), kX);
  }
}

TEST(Barrier, BTakesTheEffectWhenAIsDeadOrAway) {
  PlayWorld world;
  Object a = walker(world, 104);
  Object b = walker(world, 104);
  a->die();
  InGameObject::mainObjectA = a;
  InGameObject::mainObjectB = b;
  Barrier life = still(world, play::barrierSet(5));
  life->tick();
  EXPECT_EQ(b->lives, 6);
  EXPECT_EQ(a->lives, 0);
  // Without main objects nothing is touched.
  InGameObject::mainObjectA = nullptr;
  InGameObject::mainObjectB = nullptr;
  Barrier item = still(world, play::barrierSet(4));
  item->tick();
  EXPECT_EQ(InGameObject::gathered, 0);
}

TEST(Barrier, AnItemCountsOncePerFrameOfContact) {
  PlayWorld world;
  Object a = walker(world, 104);
  InGameObject::mainObjectA = a;
  InGameObject::mainObjectB = walker(world, 600);
  Barrier item = still(world, play::barrierSet(4));
  item->tick();
  EXPECT_EQ(InGameObject::gathered, 1);
  EXPECT_EQ(item->getLayerValue(0), B::kFallLeft);  // at once
  item->tick();
  item->tick();
  EXPECT_EQ(InGameObject::gathered, 3);
  a->setLayerPosition(0, 150, PlayWorld::kPlatformTop);  // contact over
  item->tick();
  EXPECT_EQ(InGameObject::gathered, 3);
}

// The view is the camera of the barrier's half of the map; the barrier's
// rectangle for the view is x .. x + 16 across and reaches from y - 16
// (its top) to y (its lower edge). Nothing out of view is touched.
TEST(Barrier, ViewAndNothingOutOfIt) {
  struct Case {
    int32_t y;
    int32_t viewX, viewY;  // of the barrier's view
    bool inView;
  };
  const std::vector<Case> cases = {
      {100, 0, 0, true},
      {100, 1000, 0, false},       // the view far to the right
      {100, 115, 0, true},         // the rectangle's right part still in
      {100, 116, 0, false},        // its right edge on the view's left one
      {100, -139, 0, true},
      {100, -140, 0, false},       // its left edge on the view's right one
      {100, 0, 100, false},        // its lower edge on the view's top
      {100, 0, 99, true},
      {260, 0, 100, true},         // view 1: its top (244) inside 100 .. 260
      {276, 0, 100, false},        // its top (260) on the view's lower edge
      {275, 0, 100, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "y " << k.y << ", view at " << k.viewX << ", " << k.viewY);
    PlayWorld world;
    Object a = walker(world, 100);
    a->setLayerPosition(0, 100, k.y);
    InGameObject::mainObjectA = a;
    Barrier b = world.barrier(play::barrierSet(0), 9, 100, k.y);
    b->setArmed(1);
    const int32_t view = k.y < PlayWorld::kMapHeight / 2 ? 0 : 1;
    world.camera(view, k.viewX, k.viewY);
    world.camera(1 - view, 0, 0);
    b->tick();
    EXPECT_EQ(b->viewX, k.viewX);
    EXPECT_EQ(b->viewY, k.viewY);
    EXPECT_EQ(b->isInView(), k.inView);
    EXPECT_EQ(a->lives, k.inView ? 4 : 5);
  }
}

// A kind 2 barrier begins when the view's left edge passes it and then
// throws one child per 2000 ms of frame time into the first free slot,
// five at most; each child is kind 6 playing animation 2 of the same sets.
TEST(Barrier, ThrowerEvery2000MsFiveInAll) {
  PlayWorld world;
  Barrier thrower = still(world, play::barrierSet(6), 2);
  thrower->setLayerPosition(0, 300, PlayWorld::kPlatformTop);
  thrower->tick();
  EXPECT_FALSE(thrower->children);
  world.camera(0, 301, 0);
  thrower->tick();
  ASSERT_TRUE(thrower->children);
  EXPECT_EQ(thrower->getLayerValue(0), B::kThrowing);
  std::vector<int32_t> throwFrames;
  for (int32_t frame = 1; frame <= 600; ++frame) {
    const int32_t before = childCount(thrower);
    thrower->tick();
    if (childCount(thrower) != before) throwFrames.push_back(frame);
  }
  // 51 frames of 40 ms are the first time past 2000 ms.
  EXPECT_EQ(throwFrames, (std::vector<int32_t>{51, 102, 153, 204, 255}));
  for (int32_t i = 0; i < InGameBarrier::kChildren; ++i) {
    Barrier child = thrower->children->get(i);
    EXPECT_EQ(child->getKind(), 6);
    EXPECT_EQ(gobIdOf(child), play::kSprites);
    EXPECT_EQ(animSetIdOf(child), play::barrierSet(6));
  }
}

// A kind 5 barrier begins when its x comes within the view's width; its
// first throw comes the next frame, then one per 1000 ms; each child is a
// random one of kind 1 (animation 3) and kind 3 (animation 4), from the
// sets at id + 1.
TEST(Barrier, QuickThrowerNextFrameThenEvery1000Ms) {
  PlayWorld world;
  Barrier thrower = still(world, play::barrierSet(2), 5);
  thrower->setLayerPosition(0, 300, PlayWorld::kPlatformTop);
  world.camera(0, 100, 0);
  thrower->tick();
  EXPECT_TRUE(thrower->started);
  EXPECT_EQ(childCount(thrower), 0);
  EXPECT_EQ(thrower->getLayerValue(0), B::kStanding);
  std::vector<int32_t> throwFrames;
  for (int32_t frame = 1; frame <= 300; ++frame) {
    const int32_t before = childCount(thrower);
    thrower->tick();
    if (childCount(thrower) != before) throwFrames.push_back(frame);
  }
  EXPECT_EQ(throwFrames, (std::vector<int32_t>{1, 27, 53, 79, 105}));
  for (int32_t i = 0; i < InGameBarrier::kChildren; ++i) {
    Barrier child = thrower->children->get(i);
    const int32_t kind = child->getKind();
    EXPECT_TRUE(kind == 1 || kind == 3) << kind;
    EXPECT_EQ(gobIdOf(child), play::kChildSprites);
    EXPECT_EQ(animSetIdOf(child), play::barrierSet(3));
  }
}

TEST(Barrier, ThrowersFirstFramesAndChildAnimations) {
  PlayWorld world;
  Barrier quick = still(world, play::barrierSet(2), 5);
  world.camera(0, -1000, 0);
  quick->tick();
  EXPECT_FALSE(quick->started);  // 100 is not within -1000 + 240
  world.camera(0, 0, 0);
  quick->tick();
  quick->tick();
  ASSERT_EQ(childCount(quick), 1);
  Barrier child = quick->children->get(0);
  EXPECT_EQ(child->getLayerValue(0), child->getKind() == 1 ? 3 : 4);
  // A thrower struck before it began has nothing to throw into.
  Barrier struck = still(world, play::barrierSet(6), 2);
  struck->die();
  for (int32_t i = 0; i < 60; ++i) struck->tick();
  EXPECT_FALSE(struck->children);
  EXPECT_EQ(struck->getLayerValue(0), B::kStruck);
}

// The flyer arms when it comes within the view less two cells, aims on the
// next frame at the main object of the other half and then flies.
TEST(Barrier, FlyerAims) {
  struct Case {
    const char* name;
    int32_t targetX, targetY;  // main object B (the aim of an upper flyer)
    int32_t diveStep;
  };
  // At the aim the flyer is at (200, 158): it flew down 8 px in its first
  // frame of flight, at that speed.
  const std::vector<Case> cases = {
      {"B below: a straight line to it", 100, 250, 100 * 8 / 92},
      {"distance 0: the view's pace", 100, 2 * 158 - PlayWorld::kMapHeight, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PlayWorld world;
    Object a = walker(world, 600);
    Object b = walker(world, k.targetX);
    b->setLayerPosition(0, k.targetX, k.targetY);
    InGameObject::mainObjectA = a;
    InGameObject::mainObjectB = b;
    Barrier flyer = world.barrier(play::barrierSet(6), 4, 200, 150);
    world.camera(0, -9, 0);
    flyer->tick();
    EXPECT_FALSE(flyer->isArmed());  // 200 is not below -9 + 240 - 2 x 16
    world.camera(0, 0, 0);
    flyer->tick();
    EXPECT_TRUE(flyer->isArmed());
    EXPECT_EQ(flyer->getLayerValue(0), B::kFlyDown);
    EXPECT_TRUE(flyer->descending);
    EXPECT_EQ(flyer->diveStep, InGameBarrier::kNoAim);
    flyer->tick();
    EXPECT_FALSE(flyer->aimAtA);
    EXPECT_EQ(flyer->diveSpeed, 8);
    EXPECT_EQ(flyer->diveStep, k.diveStep);
    flyer->tick();
    EXPECT_EQ(playerOf(flyer)->getX(), 200 + 5 - k.diveStep);
  }
}

TEST(Barrier, FlyerTurnsAtTheViewEdgesEightTimes) {
  PlayWorld world;
  InGameObject::mainObjectA = walker(world, 600);
  InGameObject::mainObjectB = walker(world, 600);
  Barrier flyer = world.barrier(play::barrierSet(6), 4, 100, 150);
  world.camera(0, 0, 0);
  flyer->tick();
  flyer->tick();
  flyer->diveStep = 10;  // 5 px a frame against the view each way
  world.camera(0, 100, 0);
  world.camera(1, 100, 0);
  flyer->tick();
  EXPECT_TRUE(flyer->movingRight);  // at x 95, left of the view's edge
  EXPECT_EQ(flyer->bounces, 1);
  for (int32_t i = 0; i < 400; ++i) flyer->tick();
  EXPECT_EQ(flyer->bounces, InGameBarrier::kMostBounces);
  EXPECT_FALSE(flyer->movingRight);
  EXPECT_LT(playerOf(flyer)->getX(), 100);  // no longer turned back at the left edge
}

TEST(Barrier, WalkersStartAtTheViewEdgesAndWalkOff) {
  PlayWorld world;
  Barrier right = world.barrier(play::barrierSet(6), 1, 50, 90);
  world.camera(0, 0, 0);
  right->tick();  // lands on the platform standing: its rectangle raised by the height
  EXPECT_FALSE(right->airborne);
  EXPECT_EQ(playerOf(right)->getY(), PlayWorld::kPlatformTop);
  EXPECT_EQ(right->platformRight, PlayWorld::kPlatformRight);
  EXPECT_EQ(right->getLayerValue(0), B::kStanding);
  world.camera(0, 51, 0);
  right->tick();
  EXPECT_EQ(right->getLayerValue(0), B::kWalkRight);
  int32_t lastX = 0;
  for (int32_t i = 0; i < 100 && right->getLayerValue(0) == B::kWalkRight; ++i) {
    lastX = playerOf(right)->getX();
    right->tick();
  }
  EXPECT_EQ(right->getLayerValue(0), B::kFallRight);
  EXPECT_TRUE(right->airborne);
  EXPECT_LE(lastX, PlayWorld::kPlatformRight);
  EXPECT_GT(playerOf(right)->getX(), PlayWorld::kPlatformRight);

  Barrier left = world.barrier(play::barrierSet(6), 3, 50, PlayWorld::kPlatformTop);
  world.camera(0, -190, 0);
  left->tick();
  EXPECT_EQ(left->getLayerValue(0), B::kStanding);  // 50 is not left of -190 + 240
  world.camera(0, -189, 0);
  left->tick();
  EXPECT_EQ(left->getLayerValue(0), B::kWalkLeft);

  // A harmed barrier turns struck when its animation ends; an action
  // ends in a fall.
  Barrier harmed = world.barrier(play::barrierSet(6), 9, 600, 10);
  harmed->showHitAnimation();
  harmed->tick();
  harmed->tick();
  EXPECT_EQ(harmed->getLayerValue(0), B::kStruck);
  harmed->setLayerValue(0, 1);
  harmed->tick();
  harmed->tick();
  EXPECT_EQ(harmed->getLayerValue(0), B::kFallLeft);
  EXPECT_TRUE(harmed->airborne);
}

TEST(Barrier, ResetRearms) {
  PlayWorld world;
  InGameObject::mainObjectA = walker(world, 600);
  InGameObject::mainObjectB = walker(world, 600);
  world.camera(0, 0, 0);
  Barrier flyer = world.barrier(play::barrierSet(6), 4, 100, 150);
  flyer->tick();
  ASSERT_TRUE(flyer->isArmed());
  flyer->reset();
  EXPECT_FALSE(flyer->isArmed());  // waits for the view again

  Barrier walkerBarrier = world.barrier(play::barrierSet(6), 1, 100, 100);
  walkerBarrier->setArmed(1);
  walkerBarrier->reset();
  EXPECT_TRUE(walkerBarrier->isArmed());
  EXPECT_EQ(walkerBarrier->platformRight, -1);

  Barrier thrower = still(world, play::barrierSet(6), 2);
  world.camera(0, 200, 0);
  for (int32_t i = 0; i < 60; ++i) thrower->tick();
  ASSERT_EQ(childCount(thrower), 1);
  Barrier child = thrower->children->get(0);
  const int32_t handle = thrower->getSpriteIndex();
  thrower->reset();
  EXPECT_FALSE(thrower->children);
  EXPECT_FALSE(thrower->started);
  EXPECT_FALSE(child->drawables->get(0));  // cleared
  EXPECT_NE(thrower->getSpriteIndex(), handle);
}

// A barrier paints as a screen, then its children.
TEST(Barrier, PaintsItsChildren) {
  PlayWorld world;
  Barrier thrower = still(world, play::barrierSet(6), 2);
  world.camera(0, 200, 0);
  for (int32_t i = 0; i < 52; ++i) thrower->tick();
  ASSERT_EQ(childCount(thrower), 1);
  Barrier child = thrower->children->get(0);
  child->setLayerPosition(0, 40, 30);
  VMPtr<gametest::ScreenEnv::Image> image = gametest::ScreenEnv::blackImage(240, 320);
  thrower->paint(image->getGraphics());
  const std::vector<uint32_t> pixels = gametest::ScreenEnv::pixels(image);
  EXPECT_NE(pixels[static_cast<size_t>(20 * 240 + 40)], pixels[0]);   // the child's sprite at (32..48, 14..30)
  EXPECT_NE(pixels[static_cast<size_t>(90 * 240 + 100)], pixels[0]);  // the thrower's own
}

}  // namespace
