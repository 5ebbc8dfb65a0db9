// The play scene's build-up and level loading, first load and restart.

#include <gtest/gtest.h>

#include "PlaySceneEnv.h"
#include "RecordingGraphics.h"
#include "main_Main.h"

namespace gametest {
namespace {

using playscene::SceneLevel;
using playscene::sceneLevel;
using scene::maingame::InGame;
using scene::maingame::InGameBarrier;
using scene::maingame::InGameObject;

// Handles in use in the layer's pool.
int32_t poolInUse(const VMPtr<tq::CellLayer>& layer) {
  int32_t n = 0;
  for (int32_t h = layer->poolHead; h >= 0; h = layer->poolNext->at(h)) ++n;
  return n;
}

SceneLevel fullLevel() {
  SceneLevel l;
  l.itemX = {200, 300, 400};
  l.barriers = {{150, 6}, {350, 6}};
  return l;
}

TEST(InGameLoading, FramesToPlayFirstLoadAndRestart) {
  struct Case {
    const char* name;
    SceneLevel level;
    int32_t firstLoad;
    int32_t restart;
  };
  SceneLevel itemsOnly;
  itemsOnly.itemX = {200};
  SceneLevel barriersOnly;
  barriersOnly.barriers = {{150, 6}};
  // 13 build-up frames, the last of which runs loading step 0, then one
  // loading step a frame: a first load makes the pick-up and barrier
  // arrays in a frame of their own; a restart runs 0..7, 9, 10, 8.
  const Case cases[] = {
      {"items and barriers", fullLevel(), 25, 11},
      {"items only", itemsOnly, 24, 11},
      {"barriers only", barriersOnly, 24, 11},
      {"neither", SceneLevel{}, 23, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaySceneEnv env(sceneLevel(c.level));
    EXPECT_EQ(env.start(34), c.firstLoad);
    VMPtr<InGame> s = env.scene();
    ASSERT_TRUE(s);
    VMPtr<InGameObject> a = s->objectA;
    VMPtr<InGameObject> b = s->objectB;
    VMPtr<InGame::Barriers> pickups = s->pickups;
    VMPtr<InGame::Barriers> barriers = s->barriers;
    env.frames(5);
    s->state = InGame::kLoading;
    s->subStep = 0;
    EXPECT_EQ(env.framesUntilPlaying(), c.restart);
    // The same objects and arrays, one pool handle each.
    EXPECT_EQ(VMPtr<InGameObject>(s->objectA).get(), a.get());
    EXPECT_EQ(VMPtr<InGameObject>(s->objectB).get(), b.get());
    EXPECT_EQ(VMPtr<InGame::Barriers>(s->pickups).get(), pickups.get());
    EXPECT_EQ(VMPtr<InGame::Barriers>(s->barriers).get(), barriers.get());
    const int32_t records = static_cast<int32_t>(c.level.itemX.size() + c.level.barriers.size());
    EXPECT_EQ(poolInUse(s->mapLayer), records + 2);
  }
}

}  // namespace
}  // namespace gametest
