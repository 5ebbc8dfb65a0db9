// The game in-process over the real engine: the MIDlet starts, the canvas
// thread runs its frames on the test clock, and stylus events raised as
// the platform raises them take the game from the logo through the
// language page, the sound question and the main menu to tier 0, group 0,
// stage 0, where it asks for the play scene.

#include <gtest/gtest.h>

#include <array>

#include "../engine/EngineFixture.cpp"  // the engine fixture's classes, registered here
#include "CanvasFlow.h"
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

class GameFlow : public gametest::CanvasFlow {
 protected:
  void SetUp() override {
    gametest::writeGamePacks(folder.root() / "rsc");
    gametest::writeUiPacks(folder.root() / "rsc");
    CanvasFlow::SetUp();
    loadPropertiesUnderOwnName();
    ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  }
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
