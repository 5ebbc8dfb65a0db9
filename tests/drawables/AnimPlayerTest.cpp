// The animation player over a step table of its own: loop counts, catch-up
// over several steps, display priorities, the blend, the carry across the
// wrap, movement under transforms, and its box and collision accessors.

#include <gtest/gtest.h>

#include <vector>

#include "AnimationSetWriter.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_AnimPlayer.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"

using pack_fixtures::javaBytes;
using tq::AnimPlayer;
using tq::AnimSet;
using tq::graphics::CollisionBox;

namespace {

// Animations, every step 10 long (duration 0), frame 0 with one box:
// 0 walks forward endlessly (dx 2, 4, 6; dy 1, 2, 3)
// 1 the same walk twice, then held
// 2 never advances (loop 0)
// 3 priorities 0, 2, 0, 1
// 4 priority 3 on its second step
// 5 blends from dx 0 to dx 10
// 6 loop count -5
// 7 no steps
enum { kWalk, kTwice, kStill, kPriorities, kStopper, kBlend, kMinusFive, kEmpty };

VMPtr<AnimSet> stepSet() {
  content::AnimationSet s;
  const std::vector<content::AnimationStep> walk = {{0, 2, 1}, {0, 4, 2}, {0, 6, 3}};
  s.animations = {{-1, walk},
             {2, walk},
             {0, walk},
             {-1, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 2}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 1}}},
             {-1, {{0, 0, 0, 0, 0}, {0, 1, 0, 0, 3}, {0, 2, 0, 0, 0}}},
             {-1, {{0, 0, 0, 0, 0, 1}, {0, 10, 0, 0, 0, 0}}},
             {-5, walk},
             {-1, {}}};
  s.frames = {{{}, {{0, 0, 10, 10, false, 0}, {20, 0, 5, 5, false, 1}}}};
  s.durations = {10};
  VMPtr<VMArray<int8_t>> data = javaBytes(content::writeAnimationSet(s));
  return AnimSet::load(1, tq::Resources::openStream(data, 0, data->length));
}

struct Pos {
  int x, y;
  bool operator==(const Pos&) const = default;
};
Pos at(const VMPtr<AnimPlayer>& p) { return {p->getX(), p->getY()}; }

TEST(AnimPlayer, LoopCounts) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = stepSet();
  VMPtr<AnimPlayer> endless = set->createPlayer(kWalk);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(endless->update(10));
  EXPECT_EQ(endless->getLoopCount(), -1);

  VMPtr<AnimPlayer> twice = set->createPlayer(kTwice);
  EXPECT_FALSE(twice->update(60));
  EXPECT_EQ(twice->getLoopCount(), 0);
  EXPECT_EQ(twice->getCurrentStep(), 2);  // the last step, held
  EXPECT_EQ(twice->getTime(), 30);
  EXPECT_EQ(at(twice), (Pos{12, 6}));  // two loops of the walk
  twice->setX(40);
  EXPECT_FALSE(twice->update(10));
  EXPECT_EQ(twice->getPrevX(), 40);
  EXPECT_EQ(at(twice), (Pos{40, 6}));

  VMPtr<AnimPlayer> still = set->createPlayer(kStill);
  still->setX(3);
  EXPECT_FALSE(still->update(100));
  EXPECT_EQ(at(still), (Pos{3, 0}));
  EXPECT_EQ(still->getPrevX(), 3);
  EXPECT_EQ(still->getCurrentStep(), 0);

  EXPECT_EQ(set->createPlayer(kMinusFive)->getLoopCount(), -1);
  VMPtr<AnimPlayer> empty = set->createPlayer(kEmpty);
  EXPECT_FALSE(empty->update(10));
  EXPECT_EQ(empty->getBoxCount(), 0);
  EXPECT_EQ(empty->getStepInfo(), 0);
}

TEST(AnimPlayer, CatchUpAndPriorities) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = stepSet();
  VMPtr<AnimPlayer> walk = set->createPlayer(kWalk);
  EXPECT_TRUE(walk->update(25));
  EXPECT_EQ(walk->getStep(), 2);
  EXPECT_EQ(walk->getTime(), 25);
  EXPECT_EQ(at(walk), (Pos{6, 3}));

  // Priority 2 stays shown over the lower ones passed after it.
  VMPtr<AnimPlayer> shown = set->createPlayer(kPriorities);
  shown->update(35);
  EXPECT_EQ(shown->getCurrentStep(), 3);
  EXPECT_EQ(shown->getStep(), 1);
  EXPECT_EQ(shown->getStepInfo(), 0x80);
  VMPtr<javax::microedition::lcdui::Image> image = javax::microedition::lcdui::Image::createImage(4, 4);
  shown->paint(image->getGraphics());  // the priority starts again
  shown->update(10);
  EXPECT_EQ(shown->getStep(), 0);

  // Priority 3 ends the catch-up with time left.
  VMPtr<AnimPlayer> stopper = set->createPlayer(kStopper);
  stopper->update(25);
  EXPECT_EQ(stopper->getCurrentStep(), 1);
  EXPECT_EQ(stopper->getStep(), 1);
  EXPECT_EQ(stopper->getX(), 1);
}

TEST(AnimPlayer, BlendAndTheCarryAcrossTheWrap) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = stepSet();
  VMPtr<AnimPlayer> blend = set->createPlayer(kBlend);
  blend->update(5);
  EXPECT_EQ(blend->getX(), 5);  // half way from 0 to 10
  blend->update(5);
  EXPECT_EQ(blend->getX(), 10);

  // The walk keeps going forward across every wrap, 2 and 1 per step.
  VMPtr<AnimPlayer> walk = set->createPlayer(kWalk);
  walk->update(0);
  for (int i = 1; i <= 9; ++i) {
    walk->update(10);
    EXPECT_EQ(at(walk), (Pos{2 + 2 * i, 1 + i})) << i;
    EXPECT_EQ(walk->getDeltaX(), 2);
    EXPECT_EQ(walk->getDeltaY(), 1);
  }
}

TEST(AnimPlayer, MovementUnderTransforms) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = stepSet();
  struct Case {
    int t;
    Pos after;
  } cases[] = {{0, {6, 3}}, {1, {6, -3}}, {2, {-6, 3}}, {4, {3, 6}}, {5, {-3, 6}}, {6, {3, -6}}};
  for (const Case& c : cases) {
    VMPtr<AnimPlayer> p = set->createPlayer(kWalk);
    p->setTransform(c.t);
    p->update(25);
    EXPECT_EQ(at(p), c.after) << c.t;
  }
}

TEST(AnimPlayer, BoxesAndCollisions) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = stepSet();
  VMPtr<AnimPlayer> p = set->createPlayer(kStill);
  p->setX(100);
  p->setY(50);
  EXPECT_EQ(p->getBoxCount(), 2);
  EXPECT_TRUE(p->collidesWith(105, 55));
  EXPECT_EQ(VMPtr<CollisionBox>(CollisionBox::lastHitBox)->x, 100);
  EXPECT_FALSE(p->collidesWith(110, 55));
  EXPECT_FALSE(CollisionBox::lastHitBox);
  EXPECT_TRUE(p->collidesWith(121, 51));
  EXPECT_FALSE(p->collidesWith(CollisionBox::make()));  // empty box: both statics cleared
  EXPECT_FALSE(CollisionBox::lastHitBox);
  EXPECT_FALSE(CollisionBox::lastHitOther);

  VMPtr<AnimPlayer> other = set->createPlayer(kStill);
  other->setX(109);
  other->setY(59);
  EXPECT_TRUE(p->collidesWith(other));
  other->setX(110);
  EXPECT_FALSE(p->collidesWith(other));

  VMPtr<CollisionBox> first = CollisionBox::make();
  EXPECT_TRUE(p->getFirstBox(first));
  EXPECT_EQ((std::vector<int32_t>{first->x, first->y, first->width}), (std::vector<int32_t>{100, 50, 10}));
  VMPtr<AnimSet::Boxes> out = CollisionBox::ensureCapacity(nullptr, 1);
  EXPECT_EQ(p->getCollisionBox(out, 1), 1);
  EXPECT_EQ((std::vector<int32_t>{out->get(0)->x, out->get(0)->type}), (std::vector<int32_t>{20, 1}));
  EXPECT_EQ(p->getCollisionBox(out, 2), 0);
  VMPtr<AnimPlayer> bare = AnimPlayer::_VM_new();
  bare->_VM_init();
  EXPECT_EQ(bare->getCollisionBox(out, 0), 0);
  EXPECT_EQ(bare->getDuration(), 0);
  EXPECT_FALSE(bare->getGobs());

  VMPtr<VMArray<int32_t>> rect = VMArray<int32_t>::create(5);
  EXPECT_EQ(p->getBoxes(rect, 1), 1);
  EXPECT_EQ(rect->at(0), 20);
}

}  // namespace
