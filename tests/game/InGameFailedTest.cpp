// The level-failed sequence: the failed menu, restart at once, the panel
// naming the lost object that waits for a tap, the closing and the stage
// page.

#include <gtest/gtest.h>

#include "MenuStateEnv.h"
#include "UiEnv.h"
#include "UiPacks.h"
#include "main_Game.h"
#include "main_Main.h"
#include "ui_ListMenu.h"
#include "ui_ResManager.h"

namespace gametest {
namespace {

using scene::maingame::InGame;
using scene::maingame::InGameObject;
using namespace menustate;

// The resource ids behind a layer of `s`.
int32_t gobIdOf(const VMPtr<ui::Screen>& s, int32_t layer) {
  return ui::ResManager::ids->get(0)->at(s->gobSlots->at(layer));
}
int32_t animSetIdOf(const VMPtr<ui::Screen>& s, int32_t layer) {
  return ui::ResManager::ids->get(1)->at(s->animSetSlots->at(layer));
}

// Plays the level until object A (or B) has died and the failed menu is
// open.
VMPtr<InGame> failedMenu(MenuStateEnv& env, bool loseA) {
  env.start();
  VMPtr<InGame> s = env.scene();
  VMPtr<InGameObject>(loseA ? s->objectA : s->objectB)->die();
  env.framesUntil([&] { return s->state == InGame::kMenu; });
  return s;
}

// From the failed menu's row 9 to step 8, the panel waiting for a tap.
void toPanel(MenuStateEnv& env, const VMPtr<InGame>& s) {
  env.tapRow(9);
  EXPECT_EQ(s->subStep, InGame::kMenuBackToLevelEnd);
  env.framesUntilStep(InGame::kLevelEnd, 8, 20);
}

TEST(InGameFailed, FailedMenuOpensInTheMenuState) {
  MenuStateEnv env(flatLevel());
  VMPtr<InGame> s = failedMenu(env, true);
  ASSERT_EQ(s->state, InGame::kMenu);
  EXPECT_EQ(s->subStep, InGame::kMenuRows);
  VMPtr<ui::Addon> m = s->pauseMenu;
  ASSERT_TRUE(dynamic_cast<ui::ListMenu*>(m.get()));
  EXPECT_EQ(m->ids->length, 2);
  EXPECT_EQ(m->ids->at(0), 45);
  EXPECT_EQ(m->ids->at(1), 9);
  EXPECT_TRUE(m->isVisible());
  EXPECT_TRUE(VMPtr<ui::Screen>(s->overlay)->isVisible());
  // The title in the upper half of the panel, the rows in the lower.
  const int32_t(&p)[4] = playscene::kPanelBox;
  EXPECT_EQ(text(m->itemTexts->get(0)), uiText(0, 42));
  EXPECT_EQ(m->itemPositions->get(0)->at(1), p[1]);
  EXPECT_EQ(m->boxY, p[1] + p[3] / 2);
  EXPECT_EQ(m->boxHeight, p[3] / 2);
  VMPtr<VMArray<ui::MyObject>> list = s->objects;
  EXPECT_TRUE(list->get(list->length - 1) == m);
}

// Row 45 after a death restarts from loading step 0 without a board.
TEST(InGameFailed, RestartRowRestartsAtOnce) {
  MenuStateEnv env(flatLevel());
  VMPtr<InGame> s = failedMenu(env, false);
  env.tapRow(45);
  EXPECT_EQ(s->subStep, InGame::kMenuRestart);
  env.frame();
  EXPECT_EQ(s->state, InGame::kLoading);
  EXPECT_EQ(s->subStep, 0);
  EXPECT_LT(env.framesUntilPlaying(), 100);
  EXPECT_FALSE(VMPtr<InGameObject>(s->objectB)->isDead());
}

// The panel of steps 2..7: the labels centred, the lost object under
// them, the effect clipped to the group label's band, the texts; without
// a tap step 8 ticks the panel for ever.
TEST(InGameFailed, PanelWaitsForATap) {
  MenuStateEnv env(flatLevel(), 1, 3, 0);
  VMPtr<InGame> s = failedMenu(env, true);
  toPanel(env, s);
  ASSERT_EQ(s->subStep, 8);
  VMPtr<ui::Screen> o = s->overlay;
  EXPECT_TRUE(o->isVisible());
  EXPECT_FALSE(VMPtr<VMArray<ui::MyObject>>(s->objects)->get(0) == o);
  const int32_t labelX = (240 - kLabelWidth) / 2, labelY = (320 - kLabelHeight) / 2;
  EXPECT_EQ(o->getLayerCount(), 5);
  EXPECT_EQ(gobIdOf(o, 1), 0x1007);
  EXPECT_EQ(o->layerValues->at(1), 10);
  EXPECT_EQ(o->getLayerX(1), labelX);
  EXPECT_EQ(o->getLayerY(1), labelY);
  // Group 3: image 6.
  EXPECT_EQ(o->layerValues->at(2), 6);
  EXPECT_EQ(o->getLayerX(2), labelX);
  // Object A of tier 1 lost, animation 11.
  EXPECT_EQ(gobIdOf(o, 3), 0x1C03);
  EXPECT_EQ(animSetIdOf(o, 3), 0x1C00);
  EXPECT_EQ(o->getLayerValue(3), 11);
  EXPECT_EQ(o->clips->get(4)->at(1), labelY);
  EXPECT_EQ(o->clips->get(4)->at(3), kLabelHeight);
  EXPECT_EQ(animSetIdOf(o, 4), 0x0C01);
  env.frames(5);
  // The effect has ended: the object sits under its box.
  EXPECT_EQ(o->getLayerValue(4), 2);
  EXPECT_EQ(o->getLayerX(3), 120 + kEffectBox[0]);
  EXPECT_EQ(o->getLayerY(3), labelY + kLabelHeight + kEffectBox[1] + kEffectBox[3]);
  VMPtr<ui::Addon> texts = s->pauseMenu;
  main::Main::_VM_clinitCheck();
  const int32_t line = main::Main::font->getHeight();
  EXPECT_EQ(texts->itemCount, 2);
  EXPECT_EQ(text(texts->itemTexts->get(0)), uiText(0, 42));
  EXPECT_EQ(text(texts->itemTexts->get(1)), uiText(0, 17));
  EXPECT_EQ(texts->itemPositions->get(0)->at(1), labelY - line);
  EXPECT_EQ(texts->itemPositions->get(1)->at(1), labelY + kLabelHeight + line);
  env.frames(200);
  EXPECT_EQ(s->state, InGame::kLevelEnd);
  EXPECT_EQ(s->subStep, 8);
  EXPECT_TRUE(s->screen);
}

// A tap ends step 8; the closing shows the picture of the lost object,
// drops the HUD and the texts, plays until its animations reach 2 and 4
// and leaves for the stage page.
TEST(InGameFailed, ClosingThenStagePage) {
  struct Case {
    const char* name;
    int32_t tier;
    bool loseA;
    int32_t picture;
  };
  const Case cases[] = {{"tier 2, B lost", 2, false, 0x2005}, {"tier 2, A lost", 2, true, 0x2006},
                        {"tier 0, A lost", 0, true, 0x1805}, {"tier 3, B lost", 3, false, 0x2405}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MenuStateEnv env(flatLevel(), c.tier);
    VMPtr<InGame> s = failedMenu(env, c.loseA);
    toPanel(env, s);
    ASSERT_EQ(s->subStep, 8);
    env.tap({120, 160});
    env.frame();
    ASSERT_EQ(s->subStep, 10);
    EXPECT_FALSE(s->screen);
    EXPECT_FALSE(s->pauseMenu);
    VMPtr<ui::Screen> o = s->overlay;
    EXPECT_EQ(o->getLayerCount(), 4);
    EXPECT_EQ(gobIdOf(o, 1), c.picture);
    for (int32_t i = 0; i < 4; ++i) {
      EXPECT_EQ(o->clips->get(i)->at(0), 120 - kClosingSize / 2);
      EXPECT_EQ(o->clips->get(i)->at(1), 160 - kClosingSize / 2);
      EXPECT_EQ(o->clips->get(i)->at(2), kClosingSize);
    }
    // The wipe ends first, the fade decides.
    int32_t frames = 0;
    while (s->subStep == 10 && frames < 50) {
      env.frame();
      ++frames;
    }
    EXPECT_EQ(frames, kFadeSteps);
    EXPECT_EQ(s->subStep, 11);
    EXPECT_EQ(o->getLayerValue(2), 2);
    EXPECT_EQ(o->getLayerValue(3), 4);
    env.frame();
    EXPECT_EQ(env.sceneId(), 5);
    EXPECT_FALSE(env.scene());
  }
}

}  // namespace
}  // namespace gametest
