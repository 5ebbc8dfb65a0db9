// The game in-process over the real engine: the MIDlet starts, the canvas
// thread runs its frames on the test clock, and stylus events raised as
// the platform raises them take the game from the logo through the
// language page, the sound question and the main menu to tier 0, group 0,
// stage 0, where it asks for the play scene.

#include <gtest/gtest.h>

#include <array>

#include "../engine/EngineFixture.cpp"  // the engine fixture's classes, registered here
#include "GamePacks.h"
#include "HALProperties.h"
#include "HALWindow.h"
#include "JavaTask.h"
#include "PackFixtures.h"
#include "MenuEnv.h"
#include "UiPacks.h"
#include "main_CommonMIDlet.h"
#include "main_Game.h"
#include "scene_SceneManager.h"
#include "scene_menu_MenuScene.h"

using main::CommonCanvas;
using main::CommonMIDlet;
using main::Game;
using main::Main;
using scene::SceneManager;
using scene::menu::MenuScene;

namespace {

class GameFlow : public enginetest::EngineFixture {
 protected:
  void SetUp() override {
    gametest::writeGamePacks(folder.root() / "rsc");
    gametest::writeUiPacks(folder.root() / "rsc");
    EngineFixture::SetUp();
    HAL_loadProperties();
    ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  }

  static MenuScene* menuScene() {
    SceneManager::_VM_clinitCheck();
    if (!Main::sceneManager) return nullptr;
    return dynamic_cast<MenuScene*>(SceneManager::currentScene.get());
  }
  // Page `page` of the menu has loaded.
  static bool onPage(int32_t page) {
    MenuScene* s = menuScene();
    return s && !s->suspended && s->page == page;
  }
  // Press, then (once a frame has taken it) release, at a game-area
  // point: canvas coordinates are the game area's moved by its offset.
  bool tap(std::array<int32_t, 2> at) {
    const intptr_t x = at[0] + Main::offsetX, y = at[1] + Main::offsetY;
    raise(HAL_EVENT_POINTER_PRESSED, {x, y});
    if (!waitFor([] { return ui::Pointer::down && ui::Pointer::down->at(0) != 0; })) return false;
    raise(HAL_EVENT_POINTER_RELEASED, {x, y});
    return true;
  }
  // Ends the canvas thread (its exit already asked for) and joins it.
  static void joinCanvasThread() {
    tq::TqCanvas::_VM_clinitCheck();
    VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
    if (!thread) return;
    tq::TqCanvas::runState = 4;
    waitFor([&] { return !thread->isAlive(); });
    java_test::joinThread(thread);
  }

  pack_fixtures::ProgramFolder folder;
};

TEST_F(GameFlow, TapsTakeTheGameFromTheLogoToTheFirstStage) {
  VMPtr<CommonMIDlet> midlet = CommonMIDlet::_VM_new();
  midlet->_VM_init();
  midlet->startApp();
  VMPtr<CommonCanvas> canvas = midlet->canvas;
  // The canvas's full-screen switch arrives as a posted message.
  pumpMessages();
  if (!waitFor([] { return Main::sceneManager.get() != nullptr; })) canvas->showNotify();  // no show came
  ASSERT_TRUE(waitFor([] { return onPage(11); }));
  EXPECT_EQ(Main::translationId, 0x5001);
  // Language 47, sound "no", play, tier 20, group 25: the item, then the
  // page it leads to.
  const std::array<int32_t, 2> steps[] = {{47, 10}, {38, 2}, {11, 3}, {20, 4}, {25, 5}};
  for (const std::array<int32_t, 2>& s : steps) {
    SCOPED_TRACE(s[0]);
    ASSERT_TRUE(tap(gametest::itemCentre(menuScene(), s[0])));
    ASSERT_TRUE(waitFor([&] { return onPage(s[1]); }));
  }
  EXPECT_FALSE(Main::firstRun);
  ASSERT_TRUE(tap(gametest::boxCentre(menuScene(), 0)));
  ASSERT_TRUE(waitFor([] { return Main::sceneManager && SceneManager::instance->sceneId == 34; }));
  EXPECT_EQ(Game::tier, 0);
  EXPECT_EQ(Game::group, 0);
  EXPECT_EQ(Game::stage, 0);
  midlet->destroyApp(1);
  joinCanvasThread();
}

}  // namespace
