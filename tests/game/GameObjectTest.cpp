// The game object's states as one table: a start (state, animation,
// place, flags), an event (an operation or frames of ticks), and the
// state and animation it leads to, over the world level's platforms,
// solid block and deadly zone.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "PlayWorld.h"

using gametest::PlayWorld;
using gametest::playerOf;
using scene::maingame::InGameObject;
using O = scene::maingame::InGameObject;
namespace play = gametest::play;

namespace {

using Object = VMPtr<InGameObject>;

struct Start {
  int32_t state;
  int32_t animation;
  int32_t x;
  int32_t y;
  bool airborne = false;
  int32_t platform = PlayWorld::kPlatform;
  bool hurt = false;
};

// On the platform, walking.
const Start kWalking{O::kOnPlatform, O::kWalk, 40, PlayWorld::kPlatformTop};
// High over no record, falling.
const Start kFallingClear{O::kFalling, O::kFall, 600, 10, true, -1};

struct Case {
  const char* name;
  Start start;
  std::function<void(const Object&)> event;
  int32_t state;
  int32_t animation;
  std::function<void(const Object&)> check = nullptr;
  int32_t tier = 0;
  bool halfMap = true;
};

void place(const Object& o, const Start& s) {
  o->setLayerValue(0, s.animation);
  o->state = s.state;
  o->setLayerPosition(0, s.x, s.y);
  playerOf(o)->setPrevY(s.y);
  o->airborne = s.airborne;
  o->platformIndex = s.platform;
  o->setPlatformRange(0, PlayWorld::kPlatformRight);
  o->hurt = s.hurt;
}

void ticks(const Object& o, int32_t n) { PlayWorld::tick(o, n); }

Start at(Start s, int32_t x, int32_t y) {
  s.x = x;
  s.y = y;
  return s;
}

Start hurtAs(Start s) {
  s.hurt = true;
  return s;
}

Start with(int32_t state, int32_t animation, Start s = kWalking) {
  s.state = state;
  s.animation = animation;
  return s;
}

std::vector<Case> cases() {
  return {
      {"tier 4: one life, the first hit kills", kWalking, [](const Object& o) { o->hit(); }, O::kDying, O::kDie,
       [](const Object& o) {
         EXPECT_TRUE(o->isDead());
         EXPECT_EQ(o->lives, 0);
       },
       4},
      {"a hit on a platform: one life, the hurt look", kWalking, [](const Object& o) { o->hit(); },
       O::kOnPlatformHurt, O::kWalkHurt, [](const Object& o) {
         EXPECT_EQ(o->lives, 4);
         EXPECT_TRUE(o->isHurt());
       }},
      {"a second hit within 2000 ms is free; the hurt look ends at 2000 ms", kWalking,
       [](const Object& o) {
         o->hit();
         ticks(o, 49);  // 1960 ms
         o->hit();
         EXPECT_EQ(o->lives, 4);
         EXPECT_TRUE(o->isHurt());
         ticks(o, 1);
       },
       O::kOnPlatform, O::kWalk,
       [](const Object& o) {
         EXPECT_FALSE(o->isHurt());
         o->hit();
         EXPECT_EQ(o->lives, 3);
       }},
      {"falling hurt turns back to falling after 2000 ms", hurtAs(with(O::kFallingHurt, O::kFallHurt, kFallingClear)),
       [](const Object& o) { ticks(o, 50); }, O::kFalling, O::kFall},
      {"a hit while falling", kFallingClear, [](const Object& o) { o->hit(); }, O::kFallingHurt, O::kFallHurt},
      {"a hit while jumping falls hurt", with(O::kJumping, O::kJump), [](const Object& o) { o->hit(); },
       O::kFallingHurt, O::kFallHurt, [](const Object& o) { EXPECT_TRUE(o->airborne); }},
      {"walking off the right end", at(kWalking, PlayWorld::kPlatformRight + 1, PlayWorld::kPlatformTop),
       [](const Object& o) { ticks(o, 1); }, O::kFalling, O::kFall, [](const Object& o) { EXPECT_TRUE(o->airborne); }},
      {"walking off the left end, hurt", hurtAs(with(O::kOnPlatformHurt, O::kWalkHurt, at(kWalking, -17, 100))),
       [](const Object& o) { ticks(o, 1); }, O::kFallingHurt, O::kFallHurt},
      {"the platform's ends themselves still hold", at(kWalking, -16, PlayWorld::kPlatformTop),
       [](const Object& o) { ticks(o, 1); }, O::kOnPlatform, O::kWalk},
      {"a jump rises, stops and falls", kWalking,
       [](const Object& o) {
         o->jump();
         EXPECT_EQ(o->getState(), O::kJumping);
         EXPECT_EQ(o->platformIndex, -1);
         ticks(o, 3);
       },
       O::kFalling, O::kFall, [](const Object& o) { EXPECT_EQ(playerOf(o)->getY(), PlayWorld::kPlatformTop - 16); }},
      {"a hurt jump", hurtAs(with(O::kOnPlatformHurt, O::kWalkHurt)), [](const Object& o) { o->jump(); },
       O::kJumpingHurt, O::kJumpHurt},
      {"a jump while pushed on a platform", with(O::kPushedOnPlatform, O::kWalk), [](const Object& o) { o->jump(); },
       O::kPushedJumping, O::kJump},
      {"no jump while falling", kFallingClear, [](const Object& o) { o->jump(); }, O::kFalling, O::kFall},
      {"no jump while dying", with(O::kDying, O::kDie), [](const Object& o) { o->jump(); }, O::kDying, O::kDie},
      {"no jump when dead", with(O::kDead, O::kDeadFall), [](const Object& o) { o->jump(); }, O::kDead, O::kDeadFall},
      {"no jump at 0 lives", kWalking,
       [](const Object& o) {
         o->lives = 0;
         o->jump();
       },
       O::kOnPlatform, O::kWalk},
      {"a drop from a platform", kWalking, [](const Object& o) { o->drop(); }, O::kFalling, O::kFall},
      {"no drop from a solid block", with(O::kOnPlatform, O::kWalk, [] {
         Start s = kWalking;
         s.platform = PlayWorld::kSolidBlock;
         return s;
       }()),
       [](const Object& o) { o->drop(); }, O::kOnPlatform, O::kWalk},
      {"no drop from a deadly record", [] {
         Start s = kWalking;
         s.platform = PlayWorld::kDeadlyZone;
         return s;
       }(),
       [](const Object& o) { o->drop(); }, O::kOnPlatform, O::kWalk},
      {"no drop at the bottom limit", at(kWalking, 40, 152), [](const Object& o) { o->drop(); }, O::kOnPlatform,
       O::kWalk},
      {"no drop in the air", kFallingClear, [](const Object& o) { o->drop(); }, O::kFalling, O::kFall},
      {"landing on a platform", at(kFallingClear, 40, 98), [](const Object& o) { ticks(o, 1); }, O::kOnPlatform,
       O::kWalk, [](const Object& o) {
         EXPECT_EQ(playerOf(o)->getY(), PlayWorld::kPlatformTop);
         EXPECT_EQ(o->platformIndex, PlayWorld::kPlatform);
         EXPECT_FALSE(o->airborne);
       }},
      {"landing hurt", hurtAs(with(O::kFallingHurt, O::kFallHurt, at(kFallingClear, 40, 98))),
       [](const Object& o) { ticks(o, 1); }, O::kOnPlatformHurt, O::kWalkHurt},
      {"landing with an action pending, then walking", at(kFallingClear, 40, 98),
       [](const Object& o) {
         o->startAction();
         ticks(o, 1);
         EXPECT_EQ(o->getState(), O::kLandedAction);
         EXPECT_EQ(o->getLayerValue(0), O::kAction);
         ticks(o, 2);
       },
       O::kOnPlatform, O::kWalk, [](const Object& o) { EXPECT_FALSE(o->isActionPending()); }},
      {"an action on a platform", kWalking, [](const Object& o) { o->startAction(); }, O::kLandedAction, O::kAction},
      {"no action while hurt", hurtAs(with(O::kOnPlatformHurt, O::kWalkHurt)), [](const Object& o) {
         o->startAction();
       },
       O::kOnPlatformHurt, O::kWalkHurt, [](const Object& o) { EXPECT_FALSE(o->isActionPending()); }},
      {"a mode-2 landing kills", at(kFallingClear, 310, 100), [](const Object& o) { ticks(o, 1); }, O::kDying,
       O::kDie, [](const Object& o) {
         EXPECT_TRUE(o->isDead());
         EXPECT_EQ(playerOf(o)->getY(), PlayWorld::kPlatformTop);
       }},
      {"a deadly zone touched from the side kills", with(O::kOnPlatform, O::kWalk, at(kWalking, 295, 106)),
       [](const Object& o) {
         o->setPlatformRange(0, 1000);
         ticks(o, 1);
       },
       O::kDying, O::kDie},
      {"a solid block pushes a walker out sideways", at(kWalking, 195, PlayWorld::kPlatformTop),
       [](const Object& o) {
         o->setPlatformRange(0, 1000);
         ticks(o, 1);
       },
       O::kPushedOnPlatform, O::kWalk, [](const Object& o) {
         EXPECT_EQ(playerOf(o)->getX(), 192);
         EXPECT_TRUE(o->isBlocked());
       }},
      {"a solid block pushes a faller out sideways", at(kFallingClear, 235, 80), [](const Object& o) { ticks(o, 1); },
       O::kPushedInAir, O::kFall, [](const Object& o) { EXPECT_EQ(playerOf(o)->getX(), 240); }},
      {"landing on a solid block from above", at(kFallingClear, 216, 60), [](const Object& o) { ticks(o, 1); },
       O::kOnPlatform, O::kWalk, [](const Object& o) {
         EXPECT_EQ(playerOf(o)->getY(), 60);
         EXPECT_FALSE(o->airborne);
       }},
      {"left behind by the camera, then dead", kWalking,
       [](const Object& o) {
         o->fallBehind();
         EXPECT_EQ(o->getState(), O::kLeftBehind);
         EXPECT_EQ(o->getLayerValue(0), O::kDie);
         ticks(o, 2);
       },
       O::kDead, O::kDeadFall, [](const Object& o) { EXPECT_EQ(o->platformIndex, -1); }},
      {"a dead object on the upper half rests at half height", with(O::kDead, O::kDeadFall, kFallingClear),
       [](const Object& o) {
         o->dead = 1;
         ticks(o, 35);  // 10 + 8 + 34 * 4 = 154
       },
       O::kDying, O::kKnockedOut, [](const Object& o) { EXPECT_EQ(playerOf(o)->getY(), 154); }},
      {"a dead object on the whole map rests at full height", with(O::kDead, O::kDeadFall, at(kFallingClear, 600, 250)),
       [](const Object& o) {
         o->dead = 1;
         ticks(o, 14);  // 250 + 8 + 13 * 4 = 310
         EXPECT_EQ(o->getState(), O::kDead);
         ticks(o, 1);
       },
       O::kDying, O::kKnockedOut, [](const Object& o) { EXPECT_EQ(playerOf(o)->getY(), 314); }, 0, false},
      {"a dead object lands on a platform knocked out", with(O::kDead, O::kDeadFall, at(kFallingClear, 40, 98)),
       [](const Object& o) {
         o->dead = 1;
         ticks(o, 1);
       },
       O::kDying, O::kKnockedOut},
  };
}

TEST(GameObject, Transitions) {
  for (const Case& k : cases()) {
    SCOPED_TRACE(k.name);
    PlayWorld world(k.tier);
    Object o = world.object(k.start.x, k.start.y);
    o->setHalfMap(k.halfMap);
    EXPECT_EQ(o->lives, 5 - k.tier);
    place(o, k.start);
    k.event(o);
    EXPECT_EQ(o->getState(), k.state);
    EXPECT_EQ(o->getLayerValue(0), k.animation);
    if (k.check) k.check(o);
  }
}

// The first player layer takes a sprite handle in the map layer's pool,
// which every tick moves with the object; reset takes a new handle at
// point B and the start values again.
TEST(GameObject, SpriteHandleAndReset) {
  PlayWorld world;
  Object a = world.object(30, 40);
  Object b = world.object(70, 40);
  EXPECT_EQ(a->getSpriteIndex(), 0);
  EXPECT_EQ(b->getSpriteIndex(), 1);
  PlayWorld::tick(a);
  EXPECT_EQ(world.map->poolObjects->get(0).get(), static_cast<tq::Paintable*>(playerOf(a)->getFrame().get()));
  EXPECT_EQ(world.map->poolPositions->at(0),
            tq::CellLayer::packPosition(30 - 8, 48 - 16, 0));  // fallen 8 px, the frame's corner
  a->hit();
  a->dead = 1;
  a->setVisible(0);
  a->reset();
  EXPECT_TRUE(a->isVisible());
  EXPECT_FALSE(a->isHurt());
  EXPECT_FALSE(a->isDead());
  EXPECT_EQ(a->getState(), O::kFalling);
  EXPECT_EQ(a->lives, 5);
  EXPECT_EQ(a->platformIndex, -1);
  EXPECT_EQ(a->getSpriteIndex(), 2);
  EXPECT_EQ(world.map->poolPositions->at(2), tq::CellLayer::packPosition(20 - 8, 50 - 16, 0));
  // A second player layer takes no handle; each tick moves it to layer
  // 0's position.
  b->addPlayerLayer(play::kSprites, play::kMainSet, O::kWalk, 0, 0);
  EXPECT_EQ(b->getSpriteIndex(), 1);
  PlayWorld::tick(b);
  EXPECT_EQ(b->offsets->get(1)->at(0), 70);
  EXPECT_EQ(b->offsets->get(1)->at(1), 48);
  // An invisible or paused object does not move.
  b->setVisible(0);
  PlayWorld::tick(b, 3);
  EXPECT_EQ(playerOf(b)->getY(), 48);
}

}  // namespace
