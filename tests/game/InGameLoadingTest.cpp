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

uint32_t pixelOf(const VMPtr<javax::microedition::lcdui::Image>& image, int32_t x, int32_t y) {
  VMPtr<VMArray<int32_t>> one = VMArray<int32_t>::create(1);
  image->getRGB(one, 0, 1, x, y, 1, 1);
  return static_cast<uint32_t>(one->at(0)) & 0xFFF8FCF8u;
}

// View heights from the map's height, the far sheet from the group, the
// HUD frames and the live icons from the tier.
TEST(InGameLoading, ViewsFarLayerAndHudFollowTheLevel) {
  struct Case {
    int32_t rows, group, tier;
    int32_t viewHeight;
    uint32_t farColour;
  };
  const Case cases[] = {
      {20, 0, 0, 160, 0xFF102030}, {16, 1, 1, 128, 0xFF203040}, {30, 2, 2, 160, 0xFF304050},
      {18, 3, 3, 144, 0xFF405060}, {20, 4, 4, 160, 0xFF000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.group);
    SceneLevel level;
    level.rows = c.rows;
    PlaySceneEnv env(sceneLevel(level), c.tier, c.group, 4 - c.group);
    env.start(34);
    VMPtr<InGame> s = env.scene();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->viewWidth, 240);
    EXPECT_EQ(s->viewHeight, c.viewHeight);
    VMPtr<tq::CellLayer> far = s->farLayer;
    VMPtr<tq::CellLayer> map = s->mapLayer;
    EXPECT_EQ(far->viewHeight, c.viewHeight);
    EXPECT_EQ(map->viewHeight, c.viewHeight);
    // Far: 45 x 20 cells of the map's size over a 240 x 320 sheet, one row
    // of 15 tiles repeated.
    EXPECT_EQ(far->getColumns(), 45);
    EXPECT_EQ(far->getRows(), 20);
    EXPECT_EQ(far->getCellWidth(), 16);
    EXPECT_EQ(far->getCellHeight(), 16);
    for (const auto& [col, row, cell] : {std::array<int32_t, 3>{0, 0, 1}, {16, 1, 17}, {44, 19, 300}}) {
      EXPECT_EQ(far->getCell(col, row), cell);
    }
    VMPtr<javax::microedition::lcdui::Image> sheet = far->tileImage;
    EXPECT_EQ(sheet->getWidth(), 240);
    EXPECT_EQ(sheet->getHeight(), 320);
    EXPECT_EQ(pixelOf(sheet, 100, 100), c.farColour & 0xFFF8FCF8u);
    // The map: the level's cells and size.
    EXPECT_EQ(map->getColumns(), 40);
    EXPECT_EQ(map->getRows(), c.rows);
    VMPtr<ui::Screen> hud = s->screen;
    EXPECT_EQ(hud->getLayerCount(), 16);
    EXPECT_EQ(hud->getLayerValue(0), 2 * c.tier + 2);
    EXPECT_EQ(hud->getLayerValue(1), 2 * c.tier + 3);
    for (int32_t i = 0; i < 5; ++i) {
      const bool live = i < 5 - c.tier;
      EXPECT_EQ(hud->getLayerValue(i + 5), live ? 1 : 4) << i;
      EXPECT_EQ(hud->getLayerValue(i + 11), live ? 3 : 4) << i;
      // Icons sit in the boxes of their holders.
      EXPECT_EQ(hud->getLayerX(i + 5), playscene::kIconsAX + playscene::kIconStep * i);
      EXPECT_EQ(hud->getLayerX(i + 11), playscene::kIconsBX + playscene::kIconStep * i);
    }
  }
}

// Throwers throw five children each; the pool has a handle for each.
TEST(InGameLoading, ThrowersFillTheirChildrenWithoutOverflow) {
  SceneLevel level;
  level.columns = 64;
  level.barriers = {{150, 5}, {200, 5}, {250, 5}, {300, 5}};
  PlaySceneEnv env(sceneLevel(level));
  env.start(34);
  VMPtr<InGame> s = env.scene();
  VMPtr<tq::CellLayer> map = s->mapLayer;
  EXPECT_EQ(map->poolObjects->length, 6 * 4 + 2);
  // Seven seconds: a throw a second from the first frame in view.
  env.frames(175);
  ASSERT_EQ(s->state, InGame::kPlaying);
  VMPtr<InGame::Barriers> barriers = s->barriers;
  for (int32_t i = 0; i < 4; ++i) {
    VMPtr<InGame::Barriers> children = barriers->get(i)->children;
    ASSERT_TRUE(children);
    for (int32_t k = 0; k < children->length; ++k) EXPECT_TRUE(children->get(k)) << i << " " << k;
  }
  EXPECT_EQ(poolInUse(map), 6 * 4 + 2);
}

// Landscape records become players of the map layer, landscape B records
// players of a front layer without tiles; both draw at their map pixels.
TEST(InGameLoading, LandscapePlayersInMapPixels) {
  SceneLevel level;
  level.landscape = {{100, 50, 0}, {200, 60, 1}};
  // In stored order (rows first).
  level.landscapeB = {{200, 220, 2}, {150, 240, 0}};
  PlaySceneEnv env(sceneLevel(level));
  env.start(34);
  VMPtr<InGame> s = env.scene();
  VMPtr<tq::CellLayer> map = s->mapLayer;
  VMPtr<tq::CellLayer> front = s->frontLayer;
  ASSERT_TRUE(front);
  EXPECT_EQ(front->getColumns(), 0);
  EXPECT_EQ(map->cellPlayerCount, 2);
  EXPECT_EQ(front->cellPlayerCount, 2);
  for (int32_t i = 0; i < 2; ++i) {
    EXPECT_EQ(map->cellPlayerX->at(i), level.landscape[static_cast<size_t>(i)][0]);
    EXPECT_EQ(map->cellPlayerY->at(i), level.landscape[static_cast<size_t>(i)][1]);
    EXPECT_EQ(front->cellPlayerX->at(i), level.landscapeB[static_cast<size_t>(i)][0]);
    EXPECT_EQ(front->cellPlayerY->at(i), level.landscapeB[static_cast<size_t>(i)][1]);
  }
  // The lower screen half shows A's view from (0, 0), the upper B's from
  // (0, 160); a landscape sprite covers (x - 8, y - 16, 16, 16).
  ASSERT_EQ(four(s->viewX)[2], 0);
  ASSERT_EQ(four(s->viewY)[2], 0);
  ASSERT_EQ(four(s->viewY)[3], 160);
  VMPtr<RecordingGraphics> g = RecordingGraphics::make();
  s->paintBackground(g);
  const uint32_t scenery = 0xFF330000;
  EXPECT_TRUE(g->shows(100, 160 + 50 - 4, scenery));
  EXPECT_TRUE(g->shows(200, 160 + 60 - 4, scenery));
  EXPECT_TRUE(g->shows(150, 240 - 160 - 4, scenery));
  EXPECT_TRUE(g->shows(200, 220 - 160 - 4, scenery));
  EXPECT_FALSE(g->shows(120, 160 + 50 - 4, scenery));
}

// Both views over the far layer, the map's platforms, and the black line
// between the views.
TEST(InGameLoading, PaintBackgroundStacksTheViews) {
  PlaySceneEnv env(sceneLevel(SceneLevel{}));
  env.start(34);
  VMPtr<InGame> s = env.scene();
  VMPtr<RecordingGraphics> g = RecordingGraphics::make();
  s->paintBackground(g);
  const uint32_t far = 0xFF102030;
  const uint32_t tile = 0xFF406080;
  // Upper view (B's, map y 160..320): the lower platform at map y 288.
  EXPECT_TRUE(g->shows(200, 288 - 160 + 4, tile));
  EXPECT_TRUE(g->shows(200, 50, far));
  // Lower view (A's, map y 0..160): the upper platform at map y 128.
  EXPECT_TRUE(g->shows(200, 160 + 128 + 4, tile));
  EXPECT_TRUE(g->shows(200, 160 + 50, far));
  EXPECT_TRUE(g->shows(200, 160, 0xFF000000));
  EXPECT_FALSE(g->shows(200, 159, 0xFF000000));
  // Nothing while loading.
  VMPtr<RecordingGraphics> idle = RecordingGraphics::make();
  s->state = InGame::kLoading;
  s->paintBackground(idle);
  s->paint(idle);
  EXPECT_TRUE(idle->take().empty());
}

// The scene's end drops its layers, overlay and menu.
TEST(InGameLoading, RemoveAllObjectsReleasesTheLayers) {
  SceneLevel level;
  level.landscapeB = {{150, 240, 0}};
  PlaySceneEnv env(sceneLevel(level));
  env.start(34);
  VMPtr<InGame> s = env.scene();
  VMPtr<tq::CellLayer> far = s->farLayer;
  VMPtr<tq::CellLayer> map = s->mapLayer;
  VMPtr<tq::CellLayer> front = s->frontLayer;
  s->removeAllObjects();
  EXPECT_FALSE(s->farLayer);
  EXPECT_FALSE(s->mapLayer);
  EXPECT_FALSE(s->frontLayer);
  EXPECT_FALSE(s->overlay);
  EXPECT_FALSE(s->pauseMenu);
  for (const VMPtr<tq::CellLayer>& layer : {far, map}) {
    EXPECT_FALSE(layer->tileImage);
    EXPECT_EQ(layer->cellPlayerCount, 0);
    EXPECT_FALSE(layer->poolObjects);
  }
  EXPECT_EQ(front->cellPlayerCount, 0);
  // The scene manager's change of scene does the same.
  env.start(34);
  EXPECT_TRUE(env.scene());
}

}  // namespace
}  // namespace gametest

namespace gametest {
namespace {

// A level that cannot be loaded ends the scene, not the game: loading step
// 0 prints a line naming the level and the cause on System.err (the
// console, as System.out) and changes
// to the stage page, or to the main menu when no group has been chosen
// (scene 42 from the main menu).
TEST(InGameLoading, ALevelThatCannotLoadLeavesForAMenu) {
  struct Case {
    const char* name;
    int32_t scene;
    content::Bytes level;  // level 0 of the packs
    int32_t group, stage;  // the coordinates when the scene starts
    int32_t menu;
    const char* line;
  };
  const content::Bytes flat = sceneLevel(SceneLevel{});
  const Case cases[] = {
      {"no group chosen", 42, flat, -1, 0, 2, "level 2043 (tier 0, group -1, stage 0) cannot be loaded: no such level"},
      {"stage out of range", 34, flat, 0, 5, 2, "level 2053 (tier 0, group 0, stage 5) cannot be loaded: no such level"},
      {"level not in the pack", 34, flat, 4, 4, 5,
       "level 2072 (tier 0, group 4, stage 4) cannot be loaded: java.lang.ArrayIndexOutOfBoundsException: no "
       "resource 2072 in pack 2"},
      {"empty level data", 42, content::Bytes{}, 0, 0, 5,
       "level 2048 (tier 0, group 0, stage 0) cannot be loaded: java.io.EOFException"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaySceneEnv env(c.level);
    main::Game::group = c.group;
    main::Game::stage = c.stage;
    testing::internal::CaptureStdout();
    EXPECT_EQ(env.start(c.scene, 40), 40);
    const std::string err = testing::internal::GetCapturedStdout();
    EXPECT_NE(err.find(std::string(c.line) + "\n"), std::string::npos) << err;
    EXPECT_EQ(env.sceneId(), c.menu);
    EXPECT_FALSE(env.scene());
    EXPECT_EQ(main::Game::group, c.group);  // the coordinates stay as they were
  }
}

}  // namespace
}  // namespace gametest
