// The scene base: the background's place in the depth order, sorting,
// growth and trimming, removal then paint, and loading one phase a frame.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameEnv.h"
#include "javax_microedition_lcdui_Image.h"
#include "ui_MyObject.h"
#include "ui_Scene.h"

namespace gametest {

std::vector<std::string> sceneLog;

class LogObject : public ui::MyObject {
  VM_CLASS(LogObject, ui::MyObject)

 public:
  static VMPtr<LogObject> make(int32_t depth) {
    VMPtr<LogObject> o = _VM_new();
    o->_VM_init();
    o->setDepth(depth);
    return o;
  }
  void dispose() override { sceneLog.push_back("dispose " + std::to_string(depth)); }
  void pollInput() override { sceneLog.push_back("poll " + std::to_string(depth)); }
  void tick() override { sceneLog.push_back("tick " + std::to_string(depth)); }
  void paint(VMPtr<Graphics>) override { sceneLog.push_back(std::to_string(depth)); }
  void clear() override {}
};

class LogScene : public ui::Scene {
  VM_CLASS(LogScene, ui::Scene)

 public:
  static VMPtr<LogScene> make() {
    VMPtr<LogScene> s = _VM_new();
    s->_VM_init();
    return s;
  }
  void loadStep() override {
    sceneLog.push_back("load");
    if (loadsLeft > 0) --loadsLeft;
    loadCounter = loadsLeft;
  }
  void prepareStep() override { sceneLog.push_back("prepare"); }
  void createWidgets() override {
    sceneLog.push_back("widgets");
    for (int32_t d : widgetDepths) addObject(LogObject::make(d));
  }
  void paintBackground(VMPtr<Graphics>) override { sceneLog.push_back("bg"); }

  int32_t loadsLeft = 0;
  std::vector<int32_t> widgetDepths;
};

}  // namespace gametest

VM_REGISTER_CLASS(gametest::LogObject, "gametest.LogObject", "ui.MyObject", 0);
VM_REGISTER_CLASS(gametest::LogScene, "gametest.LogScene", "ui.Scene", 0);

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

}  // namespace
