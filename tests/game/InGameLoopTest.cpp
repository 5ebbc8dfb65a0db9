// The play scene's frame loop: touch regions, the forward step, the
// level-end and completion tests, the life icons, the counter text and
// the camera.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlaySceneEnv.h"
#include "UiEnv.h"
#include "ui_ResManager.h"

namespace gametest {

// A play scene that counts the pauses asked of it.
class PauseProbe : public scene::maingame::InGame {
  VM_CLASS(PauseProbe, scene::maingame::InGame)

 public:
  void pause() override {
    ++pauses;
    InGame::pause();
  }
  int32_t pauses = 0;
};

}  // namespace gametest

VM_REGISTER_CLASS(gametest::PauseProbe, "gametest.PauseProbe", "scene.maingame.InGame", 0);

namespace gametest {
namespace {

using playscene::SceneLevel;
using playscene::sceneLevel;
using scene::maingame::InGame;
using scene::maingame::InGameObject;
using Ints = VMArray<int32_t>;

std::array<int32_t, 2> inside(const int32_t (&r)[4], int32_t dx = 2, int32_t dy = 2) { return {r[0] + dx, r[1] + dy}; }

// The level played by a PauseProbe in place of the scene manager's scene.
VMPtr<PauseProbe> playProbe(PlaySceneEnv& env) {
  env.start(34);
  scene::SceneManager::currentScene->removeAllObjects();
  ui::ResManager::reset();
  VMPtr<PauseProbe> probe = PauseProbe::_VM_new();
  probe->_VM_init();
  probe->suspend(1);
  scene::SceneManager::currentScene = probe;
  env.framesUntilPlaying();
  return probe;
}

TEST(InGameLoop, TouchRegionsFirstHitWinsAndPauseComesLast) {
  struct Case {
    const char* name;
    std::array<int32_t, 2> at;
    int32_t frames;
    int32_t stateA;
    int32_t stateB;
    int32_t pauses;
  };
  const int32_t walking = InGameObject::kOnPlatform;
  const Case cases[] = {
      {"jump A", inside(playscene::kJumpABox), 1, InGameObject::kJumping, walking, 0},
      {"drop A", inside(playscene::kDropABox, 130, 2), 1, InGameObject::kFalling, walking, 0},
      {"jump B", inside(playscene::kJumpBBox), 1, walking, InGameObject::kJumping, 0},
      {"drop B", inside(playscene::kDropBBox), 1, walking, InGameObject::kFalling, 0},
      // The jump and drop boxes of A overlap: the jump comes first.
      {"jump over drop", inside(playscene::kJumpABox, 2, 90), 1, InGameObject::kJumping, walking, 0},
      // The pause button lies on A's drop box: the pause comes first and
      // A does not drop; held, it asks no more once the menu is open.
      {"pause over drop", inside(playscene::kPauseBox, 20, 30), 2, walking, walking, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaySceneEnv env(sceneLevel(SceneLevel{}));
    VMPtr<PauseProbe> s = playProbe(env);
    VMPtr<InGameObject> a = s->objectA;
    VMPtr<InGameObject> b = s->objectB;
    ASSERT_EQ(a->getState(), walking);
    ASSERT_EQ(b->getState(), walking);
    env.env.canvas->pointerPressed(c.at[0], c.at[1]);
    env.frame();  // the pointer's update sees the finger down at the frame's end
    env.frames(c.frames);
    EXPECT_EQ(a->getState(), c.stateA);
    EXPECT_EQ(b->getState(), c.stateB);
    EXPECT_EQ(s->pauses, c.pauses);
  }
}

// Held, the jump region jumps again at every landing; released, no more.
TEST(InGameLoop, JumpRepeatsWhileHeld) {
  PlaySceneEnv env(sceneLevel(SceneLevel{}));
  VMPtr<PauseProbe> s = playProbe(env);
  VMPtr<InGameObject> a = s->objectA;
  const std::array<int32_t, 2> at = inside(playscene::kJumpABox);
  auto jumpsIn = [&](int32_t frames) {
    int32_t jumps = 0;
    for (int32_t i = 0; i < frames; ++i) {
      const int32_t before = a->getState();
      env.frame();
      if (a->getState() == InGameObject::kJumping && before != InGameObject::kJumping) ++jumps;
    }
    return jumps;
  };
  env.env.canvas->pointerPressed(at[0], at[1]);
  env.frame();
  // A jump of the fixture lasts seven frames from take-off to landing.
  EXPECT_EQ(jumpsIn(21), 3);
  env.release(at[0], at[1]);
  EXPECT_EQ(jumpsIn(21), 0);
  EXPECT_EQ(VMPtr<InGameObject>(s->objectB)->getState(), InGameObject::kOnPlatform);
}

// One frame of the loop from a staged position, as a table: what the
// forward step, the catch-up rule, the level-end test and the completion
// test make of it.
TEST(InGameLoop, OneFrameFromStagedPositions) {
  struct Case {
    const char* name;
    int32_t columns;
    int32_t frameMs;
    int32_t ax, bx;     // staged x of A and B (on their platforms)
    bool aLost;         // A dead and showing its last animation
    int32_t state;      // after the frame
    int32_t axAfter, bxAfter;
    bool aDead;
  };
  const Case cases[] = {
      {"step of 5 px at 40 ms", 40, 40, 100, 100, false, InGame::kPlaying, 105, 105, false},
      {"step of 0 px at 7 ms", 40, 7, 100, 100, false, InGame::kPlaying, 100, 100, false},
      {"step of 10 px at 80 ms", 40, 80, 100, 100, false, InGame::kPlaying, 110, 110, false},
      // 2 (m - scaleA) = 192 with m = (240 - 16) / 2: B ahead by 200 pulls
      // A to its view's left edge (0 here) and loses it.
      {"B far ahead", 40, 40, 100, 300, false, InGame::kPlaying, 0, 305, true},
      {"B ahead within reach", 40, 40, 100, 290, false, InGame::kPlaying, 105, 295, false},
      {"A far ahead", 40, 40, 300, 100, false, InGame::kPlaying, 305, 0, false},
      {"A lost", 40, 40, 100, 100, true, InGame::kLevelEnd, 100, 100, true},
      {"both past the end", 40, 40, 640, 640, false, InGame::kResults, 645, 645, false},
      {"one past the end", 40, 40, 640, 630, false, InGame::kPlaying, 645, 635, false},
      // The level-end frame skips the step but runs the camera, whose
      // completion test wins.
      {"A lost past the end", 40, 40, 641, 645, true, InGame::kResults, 641, 645, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SceneLevel level;
    level.columns = c.columns;
    PlaySceneEnv env(sceneLevel(level));
    env.start(34);
    VMPtr<InGame> s = env.scene();
    VMPtr<InGameObject> a = s->objectA;
    VMPtr<InGameObject> b = s->objectB;
    a->setLayerPosition(0, c.ax, a->getLayerY(0));
    b->setLayerPosition(0, c.bx, b->getLayerY(0));
    if (c.aLost) {
      a->dead = 1;
      a->lives = 0;
      a->state = InGameObject::kDead;
      a->setLayerValue(0, InGameObject::kKnockedOut);
    }
    env.env.canvas->frameDuration = c.frameMs;
    env.frame();
    EXPECT_EQ(s->state, c.state);
    EXPECT_EQ(s->subStep, 0);
    EXPECT_EQ(a->getLayerX(0), c.axAfter);
    EXPECT_EQ(b->getLayerX(0), c.bxAfter);
    EXPECT_EQ(a->isDead() != 0, c.aDead);
  }
}

// Untouched, a flat level plays to its end (state 4) and a level with a
// deadly zone on A's way to the level end (state 3).
TEST(InGameLoop, LevelsPlayedWithoutTapsEnd) {
  struct Case {
    const char* name;
    std::vector<int> deadlyX;
    int32_t state;
    int32_t mostFrames;
  };
  // 640 pixels at 5 a frame from x 32.
  const Case cases[] = {{"flat", {}, InGame::kResults, 125}, {"deadly zone", {200}, InGame::kLevelEnd, 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SceneLevel level;
    level.deadlyX = c.deadlyX;
    PlaySceneEnv env(sceneLevel(level));
    env.start(34);
    VMPtr<InGame> s = env.scene();
    int32_t frames = 0;
    while (s->state == InGame::kPlaying && frames < 200) {
      env.frame();
      ++frames;
    }
    EXPECT_EQ(s->state, c.state);
    EXPECT_EQ(s->subStep, 0);
    EXPECT_LE(frames, c.mostFrames);
    EXPECT_EQ(VMPtr<InGameObject>(s->objectA)->isDead() != 0, c.state == InGame::kLevelEnd);
    EXPECT_FALSE(VMPtr<InGameObject>(s->objectB)->isDead());
  }
}

// Left behind, A dies; the level ends once its last animation shows.
TEST(InGameLoop, LeftBehindEndsTheLevel) {
  PlaySceneEnv env(sceneLevel(SceneLevel{}));
  env.start(34);
  VMPtr<InGame> s = env.scene();
  VMPtr<InGameObject> a = s->objectA;
  VMPtr<InGameObject> b = s->objectB;
  b->setLayerPosition(0, a->getLayerX(0) + 200, b->getLayerY(0));
  VMPtr<Ints>(s->viewX)->at(2) = 3;
  env.frame();
  EXPECT_EQ(a->getState(), InGameObject::kLeftBehind);
  // At the left edge of its view as the frame began.
  EXPECT_EQ(a->getLayerX(0), 3);
  int32_t frames = 0;
  while (s->state == InGame::kPlaying && frames < 100) {
    env.frame();
    ++frames;
  }
  EXPECT_EQ(s->state, InGame::kLevelEnd);
  EXPECT_TRUE(a->isDead());
  EXPECT_GT(frames, 0);
}

std::u16string counterText(const VMPtr<InGame>& s) {
  return text(VMPtr<VMArray<java::lang::String>>(VMPtr<ui::Addon>(s->menu)->itemTexts)->get(0));
}

// Icons show the lives of each object (tier 3: two icons each, the rest
// blank); the counter shows the gathered items.
TEST(InGameLoop, LifeIconsAndCounterFollowTheObjects) {
  struct Case {
    int32_t tier;
    int32_t livesA, livesB, gathered;
    std::array<int32_t, 5> iconsA, iconsB;
    const char16_t* counter;
  };
  const Case cases[] = {
      {0, 5, 5, 0, {1, 1, 1, 1, 1}, {3, 3, 3, 3, 3}, u"0/15"},
      {0, 2, 0, 7, {1, 1, 0, 0, 0}, {2, 2, 2, 2, 2}, u"7/15"},
      {3, 1, 2, 15, {1, 0, 4, 4, 4}, {3, 3, 4, 4, 4}, u"15/15"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tier * 100 + c.livesA * 10 + c.livesB);
    PlaySceneEnv env(sceneLevel(SceneLevel{}), c.tier);
    env.start(34);
    VMPtr<InGame> s = env.scene();
    VMPtr<InGameObject>(s->objectA)->lives = c.livesA;
    VMPtr<InGameObject>(s->objectB)->lives = c.livesB;
    InGameObject::gathered = c.gathered;
    env.frame();
    VMPtr<ui::Screen> hud = s->screen;
    for (int32_t i = 0; i < 5; ++i) {
      EXPECT_EQ(hud->getLayerValue(i + 5), c.iconsA[i]) << i;
      EXPECT_EQ(hud->getLayerValue(i + 11), c.iconsB[i]) << i;
    }
    EXPECT_EQ(counterText(s), c.counter);
  }
}

// A pick-up on A's way counts at once.
TEST(InGameLoop, GatheredPickupShowsInTheCounter) {
  SceneLevel level;
  level.itemX = {100};
  PlaySceneEnv env(sceneLevel(level));
  env.start(34);
  VMPtr<InGame> s = env.scene();
  env.frames(20);
  EXPECT_EQ(InGameObject::gathered, 1);
  EXPECT_EQ(counterText(s), u"1/15");
}

}  // namespace
}  // namespace gametest
