// The play scene in-process over the real engine: the MIDlet starts, the
// canvas thread runs its frames on the test clock (40 ms a frame), and
// stylus events raised as the platform raises them play the fixture
// levels: the flat level to its results and on to the next level, the
// deadly level to the failed sequence and back to the stage page, then
// the flat level again through the pause menu's resume, restart and quit.

#include <gtest/gtest.h>

#include <array>

#include "CanvasFlow.h"
#include "GamePacks.h"
#include "HALProperties.h"
#include "HALWindow.h"
#include "JavaTask.h"
#include "LevelRecords.h"
#include "MenuEnv.h"
#include "MenuStateEnv.h"
#include "PackFixtures.h"
#include "UiPacks.h"
#include "main_CommonMIDlet.h"
#include "main_Game.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"
#include "scene_menu_MenuScene.h"
#include "tq_Resources.h"

namespace {

using main::CommonCanvas;
using main::CommonMIDlet;
using main::Game;
using main::Main;
using scene::SceneManager;
using scene::maingame::InGame;
using scene::menu::MenuScene;

class Playthrough : public gametest::CanvasFlow {
 protected:
  void SetUp() override {
    const std::filesystem::path rsc = folder.root() / "rsc";
    gametest::writeGamePacks(rsc);
    gametest::writeUiPacks(rsc);
    gametest::playscene::writePlayScenePacks(rsc);
    gametest::writeLevelPack(rsc.string(), {gametest::flatLevel(), gametest::deadlyLevel()});
    CanvasFlow::SetUp();
    gametest::menustate::patchMenuStatePacks(rsc);
    loadPropertiesUnderOwnName();
    ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  }

  static InGame* playScene() {
    SceneManager::_VM_clinitCheck();
    if (!Main::sceneManager) return nullptr;
    return dynamic_cast<InGame*>(SceneManager::currentScene.get());
  }
  static bool inState(int32_t state, int32_t step = -1) {
    InGame* s = playScene();
    return s && !s->suspended && s->state == state && (step < 0 || s->subStep == step);
  }
  // A tap on row or answer `id` of the play scene's menu.
  bool tapRow(int32_t id) { return tap(gametest::rowCentre(playScene()->pauseMenu, id)); }
  bool tapPause() {
    const int32_t(&b)[4] = gametest::playscene::kPauseBox;
    return tap({b[0] + b[2] / 2, b[1] + b[3] / 2});
  }
  // From the stage page: stage `stage` of the group shown, until it plays.
  bool playStage(int32_t stage) {
    if (!tap(gametest::boxCentre(menuScene(), stage))) return false;
    return waitFor([] { return inState(InGame::kPlaying); });
  }
};

TEST_F(Playthrough, ResultsFailedSequenceAndPauseMenu) {
  VMPtr<CommonMIDlet> midlet = CommonMIDlet::_VM_new();
  midlet->_VM_init();
  midlet->startApp();
  VMPtr<CommonCanvas> canvas = midlet->canvas;
  pumpMessages();
  if (!waitFor([] { return Main::sceneManager.get() != nullptr; })) canvas->showNotify();
  ASSERT_TRUE(waitFor([] { return onPage(11); }));
  // Language, sound off, play, tier 0, group 0, then stage 0.
  const std::array<int32_t, 2> steps[] = {{47, 10}, {38, 2}, {11, 3}, {20, 4}, {25, 5}};
  for (const std::array<int32_t, 2>& s : steps) {
    SCOPED_TRACE(s[0]);
    ASSERT_TRUE(tap(gametest::itemCentre(menuScene(), s[0])));
    ASSERT_TRUE(waitFor([&] { return onPage(s[1]); }));
  }
  ASSERT_TRUE(playStage(0));
  EXPECT_EQ(playScene()->frameTime, 40);

  // The flat level: both objects walk past its end; a tap hurries the
  // tally, then the results list offers the next level.
  ASSERT_TRUE(waitFor([] { return inState(InGame::kResults, 2); }));
  ASSERT_TRUE(tap({120, 160}));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kResults, 27); }));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuRows); }));
  EXPECT_EQ(Game::progressFlags->at(Game::progressIndex(0, 0, 0)), 1);
  EXPECT_EQ(Game::unlockFlags->at(Game::unlockIndex(0, 1)), 1);
  ASSERT_TRUE(tapRow(InGame::kRowNextLevel));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kPlaying); }));
  EXPECT_EQ(Game::stage, 1);
  EXPECT_EQ(SceneManager::instance->sceneId, 34);

  // The deadly level: object A dies, the failed menu's continue row, a
  // tap on the panel, the closing, the stage page.
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuRows); }));
  EXPECT_TRUE(VMPtr<scene::maingame::InGameObject>(playScene()->objectA)->isDead());
  ASSERT_TRUE(tapRow(InGame::kRowContinue));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kLevelEnd, 8); }));
  ASSERT_TRUE(tap({120, 160}));
  ASSERT_TRUE(waitFor([] { return onPage(5); }));

  // The flat level again: pause and resume, pause and restart, pause and
  // quit.
  ASSERT_TRUE(playStage(0));
  EXPECT_EQ(Game::stage, 0);
  ASSERT_TRUE(tapPause());
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuRows); }));
  ASSERT_TRUE(tapRow(InGame::kRowResume));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kPlaying); }));
  const int32_t x = VMPtr<scene::maingame::InGameObject>(playScene()->objectA)->getLayerX(0);
  ASSERT_TRUE(waitFor([&] { return VMPtr<scene::maingame::InGameObject>(playScene()->objectA)->getLayerX(0) > x; }));
  ASSERT_TRUE(tapPause());
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuRows); }));
  ASSERT_TRUE(tapRow(InGame::kRowRestart));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuRestartAsked); }));
  ASSERT_TRUE(tapRow(InGame::kAnswerConfirm));
  // Resume leaves the sub-step at 40; the reload ends at 0.
  ASSERT_TRUE(waitFor([] { return inState(InGame::kPlaying, 0); }));
  ASSERT_TRUE(tapPause());
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuRows); }));
  ASSERT_TRUE(tapRow(InGame::kRowQuit));
  ASSERT_TRUE(waitFor([] { return inState(InGame::kMenu, InGame::kMenuQuitAsked); }));
  ASSERT_TRUE(tapRow(InGame::kAnswerConfirm));
  ASSERT_TRUE(waitFor([] { return onPage(5); }));

  midlet->destroyApp(1);
  joinCanvasThread();
}

}  // namespace
