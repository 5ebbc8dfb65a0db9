// The play scene's menu state: pause only while playing, resume, the
// restart row with and without its board, the boards' answers, quit, the
// next-level rule and the cache after many opens and closes.

#include <gtest/gtest.h>

#include <string>

#include "MenuStateEnv.h"
#include "UiEnv.h"
#include "UiPacks.h"
#include "main_Game.h"
#include "main_Main.h"
#include "ui_ListMenu.h"
#include "ui_MsgBoard.h"
#include "ui_ResManager.h"

namespace gametest {
namespace {

using main::Game;
using scene::maingame::InGame;
using scene::maingame::InGameObject;

VMPtr<ui::MyObject> lastObject(const VMPtr<InGame>& s) {
  VMPtr<VMArray<ui::MyObject>> list = s->objects;
  return list->get(list->length - 1);
}

std::vector<int32_t> idsOf(const VMPtr<ui::Addon>& box) {
  std::vector<int32_t> out;
  for (int32_t i = 0; i < box->ids->length; ++i) out.push_back(box->ids->at(i));
  return out;
}

// The pause list as the menu state shows it: rows 32, 45, 1, the last
// object of the list, visible or not.
void expectPauseList(const VMPtr<InGame>& s, bool visible) {
  VMPtr<ui::Addon> m = s->pauseMenu;
  ASSERT_TRUE(m);
  EXPECT_TRUE(dynamic_cast<ui::ListMenu*>(m.get()));
  EXPECT_EQ(idsOf(m), (std::vector<int32_t>{32, 45, 1}));
  EXPECT_EQ(m->isVisible(), visible ? 1 : 0);
  EXPECT_EQ(m->getDepth(), InGame::kMenuDepth);
  EXPECT_TRUE(lastObject(s) == m);
}

TEST(InGamePause, PausesOnlyWhilePlaying) {
  MenuStateEnv env(flatLevel());
  env.start();
  VMPtr<InGame> s = env.scene();
  VMPtr<ui::Screen> hud = s->screen;
  VMPtr<ui::Screen> overlay = s->overlay;
  for (int32_t state : {int32_t{InGame::kLoading}, int32_t{InGame::kMenu}, int32_t{InGame::kLevelEnd}, int32_t{InGame::kResults}, 7}) {
    SCOPED_TRACE(state);
    s->state = state;
    s->subStep = 5;
    s->pauseSelection = 3;
    testing::internal::CaptureStdout();
    s->pause();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(s->state, state);
    EXPECT_EQ(s->subStep, 5);
    EXPECT_EQ(s->pauseSelection, 3);
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_FALSE(VMPtr<ui::Addon>(s->pauseMenu)->isVisible());
    EXPECT_EQ(hud->getLayerValue(3), 1);
  }
  s->state = InGame::kPlaying;
  testing::internal::CaptureStdout();
  s->pause();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "STOP COUNT1!!\nSTOP COUNT2!!\n");
  EXPECT_EQ(s->state, InGame::kMenu);
  EXPECT_EQ(s->subStep, InGame::kMenuRows);
  EXPECT_EQ(s->pauseSelection, 0);
  EXPECT_TRUE(overlay->isVisible());
  EXPECT_EQ(hud->getLayerValue(3), 12);
  expectPauseList(s, true);
}

// Paused, nothing moves; row 32 resumes and leaves the sub-step at 40,
// which the next pause sets back to 2.
TEST(InGamePause, ResumeLeavesSubStepForty) {
  MenuStateEnv env(flatLevel());
  env.start();
  VMPtr<InGame> s = env.scene();
  VMPtr<InGameObject> a = s->objectA;
  env.tapPause();
  ASSERT_EQ(s->state, InGame::kMenu);
  const int32_t x = a->getLayerX(0);
  env.frames(10);
  EXPECT_EQ(a->getLayerX(0), x);
  EXPECT_EQ(s->subStep, InGame::kMenuRows);
  env.tapRow(32);
  EXPECT_EQ(s->subStep, InGame::kMenuResume);
  EXPECT_EQ(s->pauseSelection, 0);
  env.frame();
  EXPECT_EQ(s->state, InGame::kPlaying);
  EXPECT_EQ(s->subStep, InGame::kMenuResume);
  EXPECT_EQ(VMPtr<ui::Screen>(s->screen)->getLayerValue(3), 1);
  EXPECT_FALSE(VMPtr<ui::Screen>(s->overlay)->isVisible());
  EXPECT_FALSE(VMPtr<ui::Addon>(s->pauseMenu)->isVisible());
  env.frames(2);
  EXPECT_GT(a->getLayerX(0), x);
  env.tapPause();
  EXPECT_EQ(s->state, InGame::kMenu);
  EXPECT_EQ(s->subStep, InGame::kMenuRows);
}

// Row 45 asks first while both objects live; once one is dead it
// restarts from loading step 0 at once.
TEST(InGamePause, RestartRowAsksOnlyWhileBothLive) {
  struct Case {
    const char* name;
    bool killA, killB;
  };
  for (const Case& c : {Case{"both alive", false, false}, Case{"A dead", true, false}, Case{"B dead", false, true}}) {
    SCOPED_TRACE(c.name);
    MenuStateEnv env(flatLevel());
    env.start();
    VMPtr<InGame> s = env.scene();
    env.tapPause();
    if (c.killA) VMPtr<InGameObject>(s->objectA)->die();
    if (c.killB) VMPtr<InGameObject>(s->objectB)->die();
    env.tapRow(45);
    EXPECT_EQ(s->pauseSelection, 1);
    if (!c.killA && !c.killB) {
      EXPECT_EQ(s->subStep, InGame::kMenuRestartBoard);
      env.frame();
      EXPECT_EQ(s->subStep, InGame::kMenuRestartAsked);
      VMPtr<ui::Addon> board = s->pauseMenu;
      ASSERT_TRUE(dynamic_cast<ui::MsgBoard*>(board.get()));
      EXPECT_EQ(idsOf(board), (std::vector<int32_t>{38, 37}));
      EXPECT_EQ(board->getDepth(), InGame::kBoardDepth);
      EXPECT_TRUE(board->isVisible());
      EXPECT_TRUE(lastObject(s) == board);
      continue;
    }
    EXPECT_EQ(s->subStep, InGame::kMenuRestart);
    env.frame();
    EXPECT_EQ(s->state, InGame::kLoading);
    EXPECT_EQ(s->subStep, 0);
    EXPECT_TRUE(VMPtr<ui::Addon>(s->menu)->isVisible());
    EXPECT_FALSE(VMPtr<ui::Screen>(s->overlay)->isVisible());
    expectPauseList(s, false);
    EXPECT_LT(env.framesUntilPlaying(), 100);
    EXPECT_FALSE(VMPtr<InGameObject>(s->objectA)->isDead());
    EXPECT_FALSE(VMPtr<InGameObject>(s->objectB)->isDead());
  }
}

// The boards' answers: cancel gives a fresh visible pause list at
// sub-step 2, confirming a restart reloads from step 1 with the level
// data kept, confirming quit goes to the stage page.
TEST(InGamePause, BoardAnswers) {
  struct Case {
    const char* name;
    int32_t row, answer;
  };
  for (const Case& c : {Case{"restart, cancel", 45, 38}, Case{"quit, cancel", 1, 38}, Case{"restart, confirm", 45, 37},
                        Case{"quit, confirm", 1, 37}}) {
    SCOPED_TRACE(c.name);
    MenuStateEnv env(flatLevel());
    env.start();
    VMPtr<InGame> s = env.scene();
    env.frames(5);
    env.tapPause();
    VMPtr<ui::Addon> first = s->pauseMenu;
    env.tapRow(c.row);
    env.frame();
    ASSERT_EQ(s->subStep, c.row == 45 ? InGame::kMenuRestartAsked : InGame::kMenuQuitAsked);
    EXPECT_EQ(VMPtr<ui::Addon>(s->pauseMenu)->itemCount, 2);
    EXPECT_EQ(text(VMPtr<ui::Addon>(s->pauseMenu)->itemTexts->get(0)), uiText(0, c.row));
    EXPECT_EQ(text(VMPtr<ui::Addon>(s->pauseMenu)->itemTexts->get(1)), uiText(0, 43));
    env.tapRow(c.answer);
    if (c.answer == 38) {
      EXPECT_EQ(s->subStep, InGame::kMenuCancelled);
      env.frame();
      EXPECT_EQ(s->state, InGame::kMenu);
      EXPECT_EQ(s->subStep, InGame::kMenuRows);
      expectPauseList(s, true);
      EXPECT_FALSE(VMPtr<ui::Addon>(s->pauseMenu) == first);
      continue;
    }
    if (c.row == 1) {
      EXPECT_EQ(env.sceneId(), 5);
      EXPECT_FALSE(env.scene());
      continue;
    }
    VMPtr<ui::LevelLoader> loader = s->loader;
    loader->pairA->at(0) = 7;
    loader->pairB->at(1) = 9;
    main::Main::showLoadingPicture = 0;
    env.frame();
    EXPECT_EQ(s->state, InGame::kLoading);
    EXPECT_EQ(s->subStep, 1);
    EXPECT_FALSE(s->viewX);
    EXPECT_FALSE(s->viewY);
    EXPECT_EQ(loader->pairA->at(0), 0);
    EXPECT_EQ(loader->pairB->at(1), 0);
    EXPECT_TRUE(main::Main::showLoadingPicture);
    expectPauseList(s, false);
    EXPECT_LT(env.framesUntilPlaying(), 100);
    EXPECT_EQ(VMPtr<InGameObject>(s->objectA)->getLayerX(0), loader->pointBX);
  }
}

// Sub-step 16: the next level of (group, stage) and the scene it opens.
TEST(InGamePause, NextLevelTable) {
  struct Case {
    int32_t group, stage;
    int32_t nextGroup, nextStage, scene;
  };
  const Case cases[] = {{2, 4, 3, 0, 4}, {4, 4, 4, 4, 5}, {1, 2, 1, 3, 34}, {0, 0, 0, 1, 34}, {3, 4, 4, 0, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.group) + ", " + std::to_string(c.stage));
    MenuStateEnv env(flatLevel(), 0, c.group, c.stage);
    env.start();
    VMPtr<InGame> s = env.scene();
    s->state = InGame::kMenu;
    s->subStep = InGame::kMenuNextLevel;
    env.frame();
    EXPECT_EQ(Game::group, c.nextGroup);
    EXPECT_EQ(Game::stage, c.nextStage);
    EXPECT_EQ(env.sceneId(), c.scene);
    EXPECT_FALSE(env.scene() == s);
  }
}

// References held in the resource cache, over every slot.
int64_t cachedReferences() {
  int64_t n = 0;
  for (int32_t i = 0; i < ui::ResManager::count; ++i) {
    n += ui::ResManager::gobRefCounts->at(i) + ui::ResManager::animSetRefCounts->at(i);
  }
  return n;
}

// Ten rounds of pause, the restart board, cancel and resume leave the
// cache's references and the scene's list as they were.
TEST(InGamePause, OpensAndClosesKeepTheCache) {
  MenuStateEnv env(flatLevel());
  env.start();
  VMPtr<InGame> s = env.scene();
  const int64_t references = cachedReferences();
  const int32_t objects = VMPtr<VMArray<ui::MyObject>>(s->objects)->length;
  for (int32_t round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    env.tapPause();
    env.tapRow(45);
    env.frame();
    ASSERT_EQ(s->subStep, InGame::kMenuRestartAsked);
    env.tapRow(38);
    env.frame();
    ASSERT_EQ(s->subStep, InGame::kMenuRows);
    env.tapRow(32);
    env.frame();
    ASSERT_EQ(s->state, InGame::kPlaying);
  }
  EXPECT_EQ(cachedReferences(), references);
  EXPECT_EQ(VMPtr<VMArray<ui::MyObject>>(s->objects)->length, objects);
  for (int32_t i = 0; i < ui::ResManager::count; ++i) {
    EXPECT_GE(ui::ResManager::gobRefCounts->at(i), 0);
    EXPECT_GE(ui::ResManager::animSetRefCounts->at(i), 0);
  }
}

}  // namespace
}  // namespace gametest
