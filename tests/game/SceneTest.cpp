// The scene base: the background's place in the depth order, sorting,
// growth and trimming, removal then paint, loading one phase a frame and
// the sound at the end of a load.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameEnv.h"
#include "GameProbes.h"
#include "javax_microedition_lcdui_Image.h"
#include "scene_SceneManager.h"

namespace {

using gametest::GameEnv;
using gametest::LogObject;
using gametest::LogScene;
using gametest::sceneLog;
using javax::microedition::lcdui::Graphics;

struct SceneEnv {
  GameEnv env;
  VMPtr<Graphics> g = graphics(env);

  static VMPtr<Graphics> graphics(GameEnv& env) {
    main::Main::_VM_clinitCheck();
    main::Main::canvas = env.canvas;
    sceneLog.clear();
    return javax::microedition::lcdui::Image::createImage(240, 320)->getGraphics();
  }
  std::vector<std::string> paint(const VMPtr<LogScene>& s) {
    sceneLog.clear();
    s->paint(g);
    return sceneLog;
  }
};

using Log = std::vector<std::string>;

TEST(Scene, TheBackgroundTakesItsPlaceInTheDepthOrder) {
  struct Case {
    std::vector<int32_t> depths;
    Log painted;
  };
  const std::vector<Case> cases = {
      {{10, 20, 50}, {"10", "20", "bg", "50"}},
      {{45, 50}, {"bg", "45", "50"}},
      {{10, 20}, {"10", "20", "bg"}},
      {{}, {"bg"}},
      {{40, 50}, {"40", "50", "bg"}},
      {{40, 39}, {"39", "bg", "40"}},
      {{2, 3, 1}, {"1", "2", "3", "bg"}},
      {{50, 10, 50, 10}, {"10", "10", "bg", "50", "50"}},
  };
  SceneEnv e;
  for (const Case& k : cases) {
    VMPtr<LogScene> s = LogScene::make();
    s->widgetDepths = k.depths;
    s->enter();
    EXPECT_EQ(e.paint(s), k.painted);
  }
}

TEST(Scene, GrowsByHalfItsStepAndTrimsAfterLoading) {
  SceneEnv e;
  VMPtr<LogScene> s = LogScene::make();
  for (int32_t i = 0; i < 21; ++i) s->addObject(LogObject::make(i));
  EXPECT_EQ(s->capacity, 30);
  EXPECT_EQ(s->objects->length, 30);
  EXPECT_EQ(s->drawOrder->length, 30);
  EXPECT_EQ(s->objects->get(20)->getDepth(), 20);
  VMPtr<LogScene> loaded = LogScene::make();
  loaded->widgetDepths = {1, 2, 3, 4, 5, 6, 7};
  loaded->enter();
  EXPECT_EQ(loaded->objects->length, 7);
  loaded->addObject(LogObject::make(8));
  EXPECT_EQ(loaded->capacity, 12);  // max(7 / 2, 5) more
}

// The draw order is sorted again after a removal: the old one would name
// cells past the trimmed list.
TEST(Scene, RemovalThenPaintSkipsTheEmptyCell) {
  SceneEnv e;
  VMPtr<LogScene> s = LogScene::make();
  s->widgetDepths = {50, 10, 60, 20, 5};
  s->enter();
  sceneLog.clear();
  s->removeObject(4);  // the last cell: the list shrinks to 4
  EXPECT_EQ(sceneLog, Log({"dispose 5"}));
  EXPECT_EQ(s->objects->length, 4);
  EXPECT_EQ(e.paint(s), Log({"10", "20", "bg", "50", "60"}));
  s->removeObject(1);  // a middle cell stays empty
  s->removeObject(1);  // already empty: nothing
  s->removeObject(-1);
  s->removeObject(9);
  EXPECT_EQ(s->objects->length, 4);
  EXPECT_EQ(e.paint(s), Log({"20", "bg", "50", "60"}));
  sceneLog.clear();
  s->update();
  EXPECT_EQ(sceneLog, Log({"tick 50", "tick 60", "tick 20"}));
}

TEST(Scene, SuspendedScenesLoadOnePhaseAFrame) {
  SceneEnv e;
  VMPtr<LogScene> s = LogScene::make();
  s->loadsLeft = 2;
  s->widgetDepths = {10};
  s->suspend(1);
  s->enter();
  EXPECT_TRUE(sceneLog.empty());
  main::Main::repaintAll = 0;
  const std::vector<Log> frames = {{"load"}, {"load"}, {"prepare"}, {"widgets"}, {}};
  for (const Log& frame : frames) {
    EXPECT_TRUE(s->suspended);
    EXPECT_EQ(e.paint(s), Log());  // nothing is drawn while loading
    sceneLog.clear();
    s->update();
    EXPECT_EQ(sceneLog, frame);
  }
  EXPECT_FALSE(s->suspended);
  EXPECT_TRUE(main::Main::repaintAll);
  EXPECT_EQ(s->objects->length, 1);
  sceneLog.clear();
  s->update();
  EXPECT_EQ(sceneLog, Log({"tick 10"}));
}

// The end of a load one phase a frame plays the controller's sound, except
// in the play scene (34); a scene entered at once plays none.
TEST(Scene, TheEndOfALoadPlaysTheSoundExceptInThePlayScene) {
  struct Case {
    int32_t sceneId;
    bool suspended;
    Log heard;
  };
  const std::vector<Case> cases = {
      {0, true, {"sound"}},
      {11, true, {"sound"}},
      {34, true, {}},
      {0, false, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.sceneId) + (k.suspended ? " suspended" : ""));
    GameEnv env;
    VMPtr<gametest::LogMain> m = gametest::LogMain::make(env.canvas);
    m->update();  // makes the scene manager
    scene::SceneManager::instance->changeScene(k.sceneId);
    VMPtr<LogScene> s = LogScene::make();
    s->suspend(k.suspended);
    sceneLog.clear();
    s->enter();
    for (int i = 0; i < 4; ++i) s->update();
    EXPECT_FALSE(s->suspended);
    Log heard;
    for (const std::string& line : sceneLog) {
      if (line == "sound") heard.push_back(line);
    }
    EXPECT_EQ(heard, k.heard);
    main::Main::shutdown();
  }
}

}  // namespace
