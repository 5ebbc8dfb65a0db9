// The scene manager: the controller's first update makes it (translation,
// logo id), the button tables over the canvas's key states, a change's
// clean-up order, the menu music and unknown ids.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "GameEnv.h"
#include "GameProbes.h"
#include "scene_SceneManager.h"
#include "tq_input_PointerInputKeyManager.h"
#include "ui_Pointer.h"
#include "ui_ResManager.h"

using gametest::GameEnv;
using main::Main;
using scene::SceneManager;

namespace {

struct ManagerEnv {
  GameEnv env;
  VMPtr<Main> main = env.makeMain();
  VMPtr<SceneManager> manager = make(main);

  static VMPtr<SceneManager> make(const VMPtr<Main>& m) {
    m->update();
    SceneManager::_VM_clinitCheck();
    return SceneManager::instance;
  }
};

TEST(SceneManager, TheFirstUpdateMakesItWithTheDefaultTranslation) {
  ManagerEnv e;
  ASSERT_TRUE(e.manager);
  EXPECT_EQ(Main::sceneManager.get(), e.manager.get());
  EXPECT_EQ(Main::translationId, 0x5000);
  EXPECT_TRUE(Main::translation);
  EXPECT_EQ(e.manager->sceneId, 0);
  EXPECT_TRUE(SceneManager::pointer);
}

// Key numbers of each button (pressed); held differs only at button 13.
const std::map<int32_t, std::set<int32_t>> kPressed = {
    {10, {10}},        {11, {3}},         {12, {27, 15}},    {13, {29, 7}},     {14, {1, 30, 18}},
    {15, {2, 32, 20}}, {16, {5, 33, 22}}, {17, {6, 31, 24}}, {18, {8, 34, 21}}, {19, {4, 15}},
    {21, {7}},         {22, {15}},
};

std::set<int32_t> keysOf(int32_t button, bool held) {
  if (button >= 0 && button <= 9) return {16 + button};
  if (held && button == 13) return {29, 15};
  auto it = kPressed.find(button);
  return it == kPressed.end() ? std::set<int32_t>() : it->second;
}

TEST(SceneManager, ButtonTables) {
  ManagerEnv e;
  VMPtr<tq::TqCanvas> c = e.env.canvas;
  const std::vector<int32_t> buttons = {-5, -1, 0, 5, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 99};
  for (int32_t key = 1; key <= 40; ++key) {
    SCOPED_TRACE(key);
    c->pressKey(key);
    c->latchKeys();  // pressed (and held) this frame
    for (int32_t b : buttons) {
      EXPECT_EQ(e.manager->isButtonPressed(b) != 0, keysOf(b, false).count(key) == 1) << "pressed " << b;
    }
    c->latchKeys();  // still down: held only
    for (int32_t b : buttons) {
      EXPECT_FALSE(e.manager->isButtonPressed(b)) << b;
      EXPECT_EQ(e.manager->isButtonHeld(b) != 0, keysOf(b, true).count(key) == 1) << "held " << b;
    }
    c->releaseKey(key);
    c->latchKeys();
    const std::set<int32_t> releaseKeys = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 10, 3, 15, 4, 7};
    for (int32_t b : buttons) {
      EXPECT_EQ(e.manager->isAnyKeyReleased(b) != 0, b == 20 && releaseKeys.count(key) == 1) << "released " << b;
    }
    c->latchKeys();
  }
}

TEST(SceneManager, AChangeCleansUpBeforeTheNewScene) {
  ManagerEnv e;
  VMPtr<ui::Pointer> pointer = SceneManager::pointer;
  ui::ResManager::acquire(gametest::kFirstCacheSetId, -1);
  ui::Pointer::curX->at(0) = 17;
  Main::repaintAll = 0;
  e.manager->changeScene(77);  // unknown: no scene
  EXPECT_TRUE(Main::repaintAll);
  EXPECT_EQ(ui::ResManager::count, 0);
  EXPECT_EQ(ui::Pointer::curX->at(0), 0);
  EXPECT_EQ(e.manager->sceneId, 77);
  EXPECT_FALSE(SceneManager::currentScene);
  // Update and paint serve the pointer alone.
  e.manager->update();
  e.manager->pauseScene();
  Main::instance->onShown();
  e.manager->changeScene(70000);  // kept in 16 bits
  EXPECT_EQ(e.manager->sceneId, static_cast<int16_t>(70000));
  e.manager->releaseScene();
  EXPECT_FALSE(SceneManager::pointer);
  EXPECT_FALSE(ui::Pointer::regionHolder);
}

// A change stops the sounds before the old scene's objects are disposed; a
// menu id then switches to music set 5, loading it only when it is not the
// current set, and any other id keeps the loaded set.
TEST(SceneManager, AChangeStopsSoundsFirstAndKeepsALoadedMenuSet) {
  using gametest::sceneLog;
  using Log = std::vector<std::string>;
  struct Case {
    int32_t loadedSet;  // -1: sound off
    int32_t id;
    Log log;
    std::optional<int32_t> setAfter;  // nothing: as it was
  };
  const std::vector<Case> cases = {
      {0, 2, {"stop sounds", "dispose 10", "dispose 20", "load sound set 5"}, 5},
      {5, 4, {"stop sounds", "dispose 10", "dispose 20"}, 5},
      {5, 0, {"stop sounds", "dispose 10", "dispose 20"}, 5},
      {3, 77, {"stop sounds", "dispose 10", "dispose 20"}, 3},
      {-1, 11, {"stop sounds", "dispose 10", "dispose 20"}, std::nullopt},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.loadedSet) + " then scene " + std::to_string(k.id));
    GameEnv env;
    VMPtr<gametest::LogMain> m = gametest::LogMain::make(env.canvas);
    m->update();
    VMPtr<SceneManager> manager = SceneManager::instance;
    if (k.loadedSet >= 0) m->loadSoundSet(k.loadedSet);
    VMPtr<gametest::LogScene> old = gametest::LogScene::make();
    old->widgetDepths = {10, 20};
    old->enter();
    SceneManager::currentScene = old;
    sceneLog.clear();
    const int32_t setBefore = Main::soundSet;
    manager->changeScene(k.id);
    EXPECT_EQ(sceneLog, k.log);
    EXPECT_EQ(Main::soundSet, k.setAfter.value_or(setBefore));
    EXPECT_EQ(Main::soundOn != 0, k.loadedSet >= 0);
    if (k.loadedSet >= 0) {
      EXPECT_TRUE(VMPtr<tq::MediaManager>(m->mediaManager)->isLoaded(Main::kSoundSlot));
    }
    m->releaseMedia();
    Main::shutdown();
  }
}

}  // namespace
