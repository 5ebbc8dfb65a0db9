// The results tally: the marker rows, the count-up, the skip by a tap,
// the final wait, the awards last first with their pictures and texts,
// and the results list that opens the menu state.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MenuStateEnv.h"
#include "UiEnv.h"
#include "UiPacks.h"
#include "main_Game.h"
#include "ui_ListMenu.h"
#include "ui_ResManager.h"

namespace gametest {
namespace {

using scene::maingame::InGame;
using scene::maingame::InGameObject;
using namespace menustate;

constexpr int32_t kMapWidth = 40 * playscene::kCell;
// Where frame 6 of the panel set puts the row holders, from (120, 160).
constexpr int32_t kHolderAX = 120 + kRowHolderA[0], kHolderAY = 160 + kRowHolderA[1];
constexpr int32_t kHolderBX = 120 + kRowHolderB[0], kHolderBY = 160 + kRowHolderB[1];

int32_t gobIdOf(const VMPtr<ui::Screen>& s, int32_t layer) {
  return ui::ResManager::ids->get(0)->at(s->gobSlots->at(layer));
}

std::u16string itemText(const VMPtr<InGame>& s, int32_t item) {
  return text(VMPtr<ui::Addon>(s->menu)->itemTexts->get(item));
}

// Plays the level with the objects' lives and the gathered count as
// given, then puts both objects past the map's end: the next frame
// starts the tally.
VMPtr<InGame> toTally(MenuStateEnv& env, int32_t livesA, int32_t livesB, int32_t gathered) {
  env.start();
  VMPtr<InGame> s = env.scene();
  for (auto [o, lives] : {std::pair{VMPtr<InGameObject>(s->objectA), livesA}, {VMPtr<InGameObject>(s->objectB), livesB}}) {
    o->lives = lives;
    o->setLayerPosition(0, kMapWidth + 10, o->getLayerY(0));
  }
  InGameObject::gathered = gathered;
  env.frame();
  EXPECT_EQ(s->state, InGame::kResults);
  EXPECT_EQ(s->subStep, 0);
  return s;
}

// The steps the tally runs through until `last`, one entry per step.
std::vector<int32_t> stepsUntil(MenuStateEnv& env, const VMPtr<InGame>& s, int32_t last) {
  std::vector<int32_t> steps = {s->subStep};
  for (int32_t i = 0; i < 2000 && s->subStep != last; ++i) {
    env.frame();
    if (s->subStep != steps.back()) steps.push_back(s->subStep);
  }
  return steps;
}

TEST(InGameResults, FirstFrameSetsUpThePanel) {
  MenuStateEnv env(flatLevel());
  VMPtr<InGame> s = toTally(env, 5, 5, 0);
  env.frame();
  VMPtr<ui::Screen> hud = s->screen;
  EXPECT_FALSE(VMPtr<ui::Screen>(s->overlay)->isVisible());
  EXPECT_FALSE(VMPtr<ui::Addon>(s->pauseMenu)->isVisible());
  EXPECT_EQ(gobIdOf(hud, 0), 0x0C09);
  EXPECT_EQ(hud->getLayerValue(0), 6);
  EXPECT_EQ(hud->getLayerValue(1), 12);
  EXPECT_EQ(hud->getLayerValue(3), 12);
  EXPECT_EQ(hud->getLayerValue(2), 13);
  EXPECT_EQ(hud->getLayerX(2), 120 + kCounterPlace[0]);
  EXPECT_EQ(hud->getLayerY(2), 160 + kCounterPlace[1]);
  EXPECT_EQ(hud->getLayerValue(4), 10);
  EXPECT_EQ(hud->getLayerX(4), kHolderAX);
  EXPECT_EQ(hud->getLayerY(10), kHolderBY);
  for (int32_t i = 5; i < 16; ++i) {
    if (i == 10) continue;
    EXPECT_EQ(hud->getLayerValue(i), 4) << i;
  }
  EXPECT_EQ(itemText(s, 0), u"0/15");
  EXPECT_EQ(VMPtr<ui::Addon>(s->menu)->itemFonts->at(0), 0);
  EXPECT_EQ(itemText(s, 1), uiText(0, 41));
  EXPECT_EQ(VMPtr<ui::Addon>(s->menu)->itemPositions->get(1)->at(0), 120 + kResultsTitleBox[0]);
}

// A row of 5 - tier markers per object, the first `lives` filled, the
// others empty; each shown for 500 ms.
TEST(InGameResults, MarkerRows) {
  struct Case {
    int32_t tier, livesA, livesB;
    std::vector<int32_t> steps;
  };
  const Case cases[] = {
      {4, 1, 0, {1, 6, 11}},
      {0, 5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {3, 0, 2, {1, 2, 6, 7, 11}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tier);
    MenuStateEnv env(flatLevel(), c.tier);
    VMPtr<InGame> s = toTally(env, c.livesA, c.livesB, 0);
    int32_t frames = 0;
    for (; s->subStep == 0; ++frames) env.frame();
    EXPECT_EQ(frames, 13);  // the first frame past 500 ms
    EXPECT_EQ(stepsUntil(env, s, 11), c.steps);
    VMPtr<ui::Screen> hud = s->screen;
    const int32_t markers = 5 - c.tier;
    for (int32_t i = 0; i < 5; ++i) {
      SCOPED_TRACE(i);
      for (auto [layer, lives, filled, x, y] : {std::tuple{5 + i, c.livesA, 1, kHolderAX, kHolderAY},
                                                std::tuple{11 + i, c.livesB, 3, kHolderBX, kHolderBY}}) {
        if (i >= markers) {
          EXPECT_EQ(hud->getLayerValue(layer), 4);
          continue;
        }
        if (i < lives) {
          EXPECT_EQ(hud->getLayerValue(layer), filled);
        } else {
          EXPECT_EQ(gobIdOf(hud, layer), 0x0C09);
          EXPECT_EQ(hud->layerValues->at(layer), 2);
        }
        EXPECT_EQ(hud->getLayerX(layer), x + kMarkerX0 + kMarkerStep * i);
        EXPECT_EQ(hud->getLayerY(layer), y + kMarkerY);
      }
    }
  }
}

// One number every 200 ms up to the gathered count, then the 3-second
// wait and the record.
TEST(InGameResults, CountUpThenFinalWait) {
  for (int32_t gathered : {0, 7, 15}) {
    SCOPED_TRACE(gathered);
    MenuStateEnv env(flatLevel(), 4);
    VMPtr<InGame> s = toTally(env, 1, 1, gathered);
    env.framesUntilStep(InGame::kResults, 11);
    std::vector<std::u16string> shown;
    int32_t frames = 0;
    while (s->subStep != 27 && frames < 200) {
      env.frame();
      ++frames;
      if (shown.empty() || shown.back() != itemText(s, 0)) shown.push_back(itemText(s, 0));
    }
    EXPECT_EQ(frames, gathered < 15 ? 6 * (gathered + 1) + 1 : 6 * 16);
    ASSERT_EQ(static_cast<int32_t>(shown.size()), gathered + 1);
    for (int32_t k = 0; k <= gathered; ++k) {
      std::u16string expected;
      for (char ch : std::to_string(k) + "/15") expected += static_cast<char16_t>(ch);
      EXPECT_EQ(shown[static_cast<size_t>(k)], expected);
    }
    frames = 0;
    while (s->subStep == 27 && frames < 200) {
      env.frame();
      ++frames;
    }
    EXPECT_EQ(frames, gathered < 15 ? 75 : 76);  // past 3000 ms
    EXPECT_EQ(s->subStep, 28);
    EXPECT_EQ(s->tallyTimer, 0);
  }
}

// A tap during the rows: the next frame shows the rest of both rows and
// the final count and stops at the final wait.
TEST(InGameResults, TapFinishesTheTimedSteps) {
  MenuStateEnv env(flatLevel(), 0);
  VMPtr<InGame> s = toTally(env, 4, 3, 6);
  env.framesUntilStep(InGame::kResults, 2);
  env.frames(2);
  env.tap({10, 10});
  EXPECT_EQ(s->subStep, 2);
  EXPECT_TRUE(s->skipRequested);
  env.frame();
  EXPECT_EQ(s->subStep, 27);
  EXPECT_EQ(s->tallyTimer, 40);  // the frame that ended the count
  VMPtr<ui::Screen> hud = s->screen;
  EXPECT_EQ(hud->getLayerValue(8), 1);
  EXPECT_EQ(hud->layerValues->at(9), 2);
  EXPECT_EQ(hud->getLayerValue(13), 3);
  EXPECT_EQ(hud->layerValues->at(15), 2);
  EXPECT_EQ(hud->getLayerX(15), kHolderBX + kMarkerX0 + 4 * kMarkerStep);
  EXPECT_EQ(itemText(s, 0), u"6/15");
  // A tap in the final wait asks for a skip the wait does not honour.
  env.tap({10, 10});
  EXPECT_EQ(s->subStep, 27);
  EXPECT_EQ(stepsUntil(env, s, 28), (std::vector<int32_t>{27, 28}));
}

// Without awards the record leads straight to the results list, which
// opens the menu state: rows 40 and 3 under the level's title.
TEST(InGameResults, NoAwardOpensTheResultsList) {
  MenuStateEnv env(flatLevel(), 1, 2, 3);
  VMPtr<InGame> s = toTally(env, 2, 2, 4);
  VMPtr<ui::Addon> pauseList = s->pauseMenu;
  env.framesUntilStep(InGame::kResults, 28, 500);
  EXPECT_EQ(stepsUntil(env, s, 31), (std::vector<int32_t>{28, 31}));
  EXPECT_EQ(VMPtr<VMArray<int32_t>>(s->unlockList)->at(0), 0);
  env.frame();
  VMPtr<ui::Addon> list = s->pauseMenu;
  ASSERT_TRUE(dynamic_cast<ui::ListMenu*>(list.get()));
  EXPECT_FALSE(list == pauseList);
  EXPECT_EQ(VMPtr<ui::Screen>(s->screen)->getLayerCount(), 1);
  EXPECT_EQ(text(list->itemTexts->get(0)), uiText(0, 18) + u"   3 - 4   " + uiText(0, 19));
  EXPECT_EQ(list->ids->at(0), 40);
  EXPECT_EQ(list->ids->at(1), 3);
  EXPECT_FALSE(list->isVisible());
  const int32_t(&p)[4] = playscene::kPanelBox;
  EXPECT_EQ(list->boxY, p[1] + p[3] / 2);
  EXPECT_EQ(list->getDepth(), InGame::kMenuDepth);
  env.frame();
  EXPECT_EQ(s->subStep, 33);
  EXPECT_TRUE(list->isVisible());
  VMPtr<VMArray<ui::MyObject>> objects = s->objects;
  EXPECT_TRUE(objects->get(objects->length - 1) == list);
  EXPECT_TRUE(objects->get(objects->length - 2) == VMPtr<ui::Screen>(s->overlay));
  env.frame();
  EXPECT_EQ(s->state, InGame::kMenu);
  EXPECT_EQ(s->subStep, 0);
  EXPECT_FALSE(VMPtr<ui::Addon>(s->menu)->isVisible());
  env.frames(2);
  EXPECT_EQ(s->subStep, InGame::kMenuRows);
  // Play again: from loading step 0, the HUD whole again.
  env.tapRow(3);
  EXPECT_EQ(s->subStep, InGame::kMenuPlayAgain);
  env.frame();
  EXPECT_EQ(s->state, InGame::kLoading);
  EXPECT_EQ(VMPtr<ui::Screen>(s->overlay)->getLayerCount(), 1);
  EXPECT_EQ(VMPtr<ui::Screen>(s->screen)->getLayerCount(), 16);
  EXPECT_TRUE(VMPtr<ui::Addon>(s->menu)->isVisible());
  EXPECT_LT(env.framesUntilPlaying(), 100);
  EXPECT_EQ(itemText(s, 0), u"0/15");
}

// The last stage of group 0 unlocks group 1 (code 13) and its first
// level (code 18): shown last first, each until a tap.
TEST(InGameResults, TwoAwardsLastFirst) {
  MenuStateEnv env(flatLevel(), 0, 0, 4);
  VMPtr<InGame> s = toTally(env, 5, 5, 15);
  env.framesUntilStep(InGame::kResults, 28, 500);
  env.frame();
  VMPtr<VMArray<int32_t>> awards = s->unlockList;
  ASSERT_EQ(awards->at(0), 2);
  EXPECT_EQ(awards->at(1), 13);
  EXPECT_EQ(awards->at(2), 18);
  VMPtr<ui::Screen> hud = s->screen;
  EXPECT_EQ(hud->getLayerCount(), 2);
  EXPECT_EQ(hud->getLayerValue(0), 16);
  EXPECT_EQ(itemText(s, 0), u"");
  EXPECT_EQ(itemText(s, 1), u"");
  env.frame();
  EXPECT_EQ(s->subStep, 30);
  EXPECT_EQ(gobIdOf(hud, 1), 0x1007);
  EXPECT_EQ(hud->layerValues->at(1), 2);
  env.frames(20);
  EXPECT_EQ(s->subStep, 30);
  env.tap({10, 10});
  EXPECT_EQ(awards->at(0), 1);
  env.frame();
  EXPECT_EQ(gobIdOf(hud, 1), 0x1006);
  EXPECT_EQ(hud->layerValues->at(1), 16);
  // On the award panel: the picture at its box 1, the text there too.
  EXPECT_EQ(hud->getLayerX(1), 120 + kAwardPictureBox[0]);
  EXPECT_EQ(hud->getLayerY(1), 160 + kAwardPictureBox[1]);
  EXPECT_EQ(text(VMPtr<ui::Addon>(s->menu)->text->getText()), uiText(0, 60));
  EXPECT_EQ(VMPtr<ui::Addon>(s->menu)->textY, 160 + kAwardPictureBox[1]);
  env.tap({10, 10});
  EXPECT_EQ(s->subStep, 29);
  env.frame();
  EXPECT_EQ(s->subStep, 31);
  env.frame();
  EXPECT_EQ(hud->getLayerCount(), 1);
  EXPECT_EQ(awards->at(0), 0);
  // Played again, the level shows no award text.
  env.framesUntilStep(InGame::kMenu, InGame::kMenuRows, 10);
  env.tapRow(3);
  EXPECT_LT(env.framesUntilPlaying(), 100);
  EXPECT_FALSE(VMPtr<ui::Addon>(s->menu)->text);
  EXPECT_EQ(hud->getLayerCount(), 16);
  EXPECT_EQ(hud->getLayerValue(1), 3);
}

// Each award code's picture on HUD layer 1 and its text.
TEST(InGameResults, AwardPictures) {
  struct Case {
    int32_t code, tier;
    int32_t gobs, value, textId;
    bool frame;
  };
  const Case cases[] = {
      {0, 0, 0x1006, 23, 69, true},  {3, 3, 0x1006, 16, 62, true},  {4, 4, 0x1006, 15, 61, true},
      {5, 2, 0x1006, 24, 70, true},  {6, 0, 0x1006, 25, 71, true},  {8, 2, 0x1006, 21, 67, true},
      {9, 3, 0x1006, 18, 64, true},  {10, 4, 0x1006, 17, 63, true}, {11, 1, 0x1006, 26, 72, true},
      {14, 0, 0x1006, 18, 60, false}, {16, 0, 0x1006, 22, 60, false}, {21, 0, 0x1007, 8, 60, false},
  };
  MenuStateEnv env(flatLevel());
  VMPtr<InGame> s = toTally(env, 5, 5, 0);
  env.frame();
  VMPtr<ui::Screen> hud = s->screen;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    main::Game::tier = c.tier;
    VMPtr<VMArray<int32_t>> list = VMArray<int32_t>::create(3);
    list->at(0) = 1;
    list->at(1) = c.code;
    s->unlockList = list;
    s->subStep = 29;
    env.frame();
    EXPECT_EQ(s->subStep, 30);
    EXPECT_EQ(gobIdOf(hud, 1), c.gobs);
    EXPECT_EQ(hud->layerValues->at(1), c.value);
    EXPECT_EQ(hud->getLayerKind(1), c.frame ? ui::Screen::kFrameLayer : ui::Screen::kImageLayer);
    EXPECT_EQ(text(VMPtr<ui::Addon>(s->menu)->text->getText()), uiText(0, c.textId));
    if (c.frame) {
      EXPECT_EQ(ui::ResManager::ids->get(1)->at(hud->animSetSlots->at(1)), 0x1001);
      EXPECT_EQ(hud->getLayerX(1), kHolderBX + (200 - hud->getLayerWidth(1)) / 2);
      EXPECT_EQ(VMPtr<ui::Addon>(s->menu)->textY, kHolderAY);
    } else {
      EXPECT_EQ(hud->getLayerX(1), kHolderBX);
      EXPECT_EQ(VMPtr<ui::Addon>(s->menu)->textY, kHolderBY);
    }
  }
}

}  // namespace
}  // namespace gametest
