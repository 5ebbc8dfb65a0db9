// The play scene's camera, one call from staged positions.

#include <gtest/gtest.h>

#include <array>

#include "PlaySceneEnv.h"

namespace gametest {
namespace {

using playscene::SceneLevel;
using playscene::sceneLevel;
using scene::maingame::InGame;
using scene::maingame::InGameObject;
using Ints = VMArray<int32_t>;
using Four = std::array<int32_t, 4>;

// Maps of 16 x 16 cells, 40 rows (half height 320) unless narrow; views
// of 240 x 160: m = 112, yOff = 128.
TEST(InGameCamera, OneCallFromStagedPositions) {
  struct Case {
    const char* name;
    int32_t columns;
    bool fresh;        // no views yet
    Four startX;       // when not fresh (viewY starts at 100, 400, 100, 400)
    int32_t ax, ay, bx, by;
    Four viewX, viewY;
    int32_t state = InGame::kPlaying;
  };
  const Case cases[] = {
      // c = 16 + 100; tx = 4; tyA = 72; tyB = 372.
      {"first call", 64, true, {}, 100, 200, 100, 500, {1, 1, 4, 4}, {72, 372, 72, 372}},
      // tx = 154: the far layers move by a third of 54 and 44.
      {"far layers a third", 64, false, {10, 20, 100, 110}, 250, 200, 250, 500, {28, 34, 154, 154}, {72, 372, 72, 372}},
      {"far wrap above", 64, false, {230, 235, 100, 100}, 250, 200, 250, 500, {8, 13, 154, 154}, {72, 372, 72, 372}},
      {"far wrap below", 64, false, {5, 5, 100, 100}, 130, 200, 130, 500, {223, 223, 34, 34}, {72, 372, 72, 372}},
      // tx above W - 240 = 784; tyA below 0, tyB above 480; both objects
      // past W complete the level.
      {"clamps high", 64, false, {0, 0, 700, 700}, 1100, 100, 1100, 630, {28, 28, 784, 784}, {0, 480, 0, 480},
       InGame::kResults},
      // tyA above 160, tyB below 320.
      {"clamps across the halves", 64, false, {0, 0, 0, 0}, 100, 400, 100, 350, {1, 1, 4, 4}, {160, 320, 160, 320}},
      // W = 160: a non-negative target gives W - 240, a negative one 0.
      {"narrow map, target 4", 10, false, {0, 0, 0, 0}, 100, 200, 100, 500, {214, 214, -80, -80}, {72, 372, 72, 372}},
      {"narrow map, target -46", 10, false, {0, 0, 0, 0}, 50, 200, 50, 500, {0, 0, 0, 0}, {72, 372, 72, 372}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SceneLevel level;
    level.columns = c.columns;
    level.rows = 40;
    PlaySceneEnv env(sceneLevel(level));
    env.start(34);
    VMPtr<InGame> s = env.scene();
    if (c.fresh) {
      s->viewX = nullptr;
      s->viewY = nullptr;
    } else {
      for (int32_t i = 0; i < 4; ++i) {
        VMPtr<Ints>(s->viewX)->at(i) = c.startX[i];
        VMPtr<Ints>(s->viewY)->at(i) = i % 2 == 0 ? 100 : 400;
      }
    }
    VMPtr<InGameObject> a = s->objectA;
    VMPtr<InGameObject> b = s->objectB;
    a->setLayerPosition(0, c.ax, c.ay);
    b->setLayerPosition(0, c.bx, c.by);
    s->updateCamera();
    EXPECT_EQ(four(s->viewX), c.viewX);
    EXPECT_EQ(four(s->viewY), c.viewY);
    EXPECT_EQ(s->state, c.state);
    VMPtr<ui::LevelLoader> l = s->loader;
    EXPECT_EQ(VMPtr<Ints>(l->pairA)->at(0), c.viewX[2]);
    EXPECT_EQ(VMPtr<Ints>(l->pairA)->at(1), c.viewX[3]);
    EXPECT_EQ(VMPtr<Ints>(l->pairB)->at(0), c.viewY[2]);
    EXPECT_EQ(VMPtr<Ints>(l->pairB)->at(1), c.viewY[3]);
  }
}

}  // namespace
}  // namespace gametest
