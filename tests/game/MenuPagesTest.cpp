// The menu's page graph as scripted taps (at the centres of the laid-out
// rows, answers and boxes) with the page, level coordinates and scene id
// they lead to; the stage board's pictures; the about text; and the art
// kept in the cache from page to page.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "JavaTask.h"
#include "MenuEnv.h"
#include "main_Game.h"
#include "ui_ResManager.h"

using gametest::MenuEnv;
using main::Game;
using main::Main;
using scene::menu::MenuScene;

namespace {

// A scripted touch: a tap on the menu box's item `id`, on box `id` of the
// background's layer 2, at a point, or a press held on an item.
struct Touch {
  enum Kind { kItem, kBox, kPoint, kHoldItem } kind;
  int32_t id;
  int32_t x = 0, y = 0;
};
Touch item(int32_t id) { return {Touch::kItem, id}; }
Touch box(int32_t i) { return {Touch::kBox, i}; }
Touch point(int32_t x, int32_t y) { return {Touch::kPoint, 0, x, y}; }
Touch hold(int32_t id) { return {Touch::kHoldItem, id}; }

std::vector<int32_t> idsOf(const VMPtr<MenuScene>& s) {
  std::vector<int32_t> out;
  VMPtr<VMArray<int32_t>> a = s->menu->ids;
  for (int32_t i = 0; a && i < a->length; ++i) out.push_back(a->at(i));
  return out;
}

int32_t layerValue(MenuEnv& e, int32_t layer) { return e.scene()->screen->getLayerValue(layer); }

struct Case {
  const char* name;
  int32_t start;
  std::function<void()> setUp;
  std::vector<Touch> touches;
  int32_t page;  // -1: no menu scene at the end
  int32_t sceneId;
  std::function<void(MenuEnv&)> check;
};

const std::vector<Case> kCases = {
    {"the first run goes language, sound question, main menu", 11, [] { Main::firstRun = 1; },
     {item(47), item(38)}, 2, 11,
     [](MenuEnv& e) {
       EXPECT_FALSE(Main::firstRun);
       EXPECT_EQ(Main::translationId, 0x5000);
       EXPECT_EQ(idsOf(e.scene()), std::vector<int32_t>({11, 6, 12, 8, 7, 9}));
     }},
    {"after the first run a language change returns to the options with the new texts", 2,
     [] { Main::firstRun = 0; }, {item(12), item(46), item(51)}, 6, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(Main::translationId, 0x5003);
       EXPECT_EQ(gametest::text(e.scene()->translation->getString(13)), gametest::uiText(3, 13));
       EXPECT_EQ(gametest::text(Main::translation->getString(46)), gametest::uiText(3, 46));
       EXPECT_EQ(Main::currentGlyphId, 0x4C00);  // glyph set 1 after the choice
     }},
    {"the sound question from the options turns sound off and returns there", 2,
     [] { Main::firstRun = 0; }, {item(12), item(13), item(38)}, 6, 2, [](MenuEnv&) { EXPECT_FALSE(Main::soundOn); }},
    {"help: 40 twice reaches the last sub-page, whose right answer is the main menu", 2, [] {},
     {item(8), item(40), item(40)}, 7, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(e.scene()->selection, 2);
       EXPECT_EQ(idsOf(e.scene()), std::vector<int32_t>({39, 10}));
       EXPECT_EQ(e.scene()->menu->lineCount, 20);
       e.tapItem(10);
       EXPECT_EQ(e.scene()->page, 2);
     }},
    {"help: 39 from the middle sub-page returns to the first", 2, [] {}, {item(8), item(40), item(39)}, 7, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(e.scene()->selection, 0);
       EXPECT_EQ(idsOf(e.scene()), std::vector<int32_t>({10, 40}));
     }},
    {"a tap in the help board's lower text scrolls it down a line", 2, [] {},
     {item(8), point(120, 160 - 110 + 90 + 45)}, 7, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(e.scene()->menu->scrollLine, 1);
       e.tap({120, 160 - 110 + 45});  // the upper text
       EXPECT_EQ(e.scene()->menu->scrollLine, 0);
       // Both buttons in one frame: up (nothing at the top), then down.
       e.ui.env.canvas->pressKey(1);
       e.ui.env.canvas->pressKey(6);
       e.frame();
       EXPECT_EQ(e.scene()->menu->scrollLine, 1);
     }},
    {"fresh progress offers only tier 20, group 25 and stage 0", 2, [] {}, {item(11), item(20), item(25)}, 5, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(e.scene()->tier, 0);
       EXPECT_EQ(e.scene()->group, 0);
       // A locked stage neither highlights nor starts.
       const int32_t highlight = e.scene()->screen->getLayerCount() - 1;
       e.press(e.boxCentre(1));
       e.frame();
       EXPECT_EQ(layerValue(e, highlight), 5);
       e.tapBox(1);
       EXPECT_EQ(e.sceneId(), 2);
       EXPECT_EQ(e.scene()->page, 5);
       // An open stage highlights while the finger is down.
       e.press(e.boxCentre(0));
       e.frame();
       EXPECT_EQ(layerValue(e, highlight), 2);
       EXPECT_EQ(e.scene()->screen->getLayerX(highlight), e.boxCentre(0)[0] - 15);
       e.tap({230, 10});  // no box: hidden again
       EXPECT_EQ(layerValue(e, highlight), 5);
     }},
    {"the tier and group pages list locked entries as 0", 2, [] {}, {item(11)}, 3, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(idsOf(e.scene()), std::vector<int32_t>({20, 0, 0, 0, 0, 39}));
       e.tapItem(20);
       EXPECT_EQ(idsOf(e.scene()), std::vector<int32_t>({25, 0, 0, 0, 0, 39}));
     }},
    {"a stage tap starts scene 34 at its coordinates", 2,
     [] {
       Game::unlockFlags->at(1) = 1;
       Game::unlockFlags->at(Game::unlockIndex(2, 0)) = 1;
       Game::unlockFlags->at(Game::unlockIndex(2, 3)) = 1;
     },
     {item(11), item(21), item(27), box(3)}, -1, 34,
     [](MenuEnv&) {
       EXPECT_EQ(Game::tier, 1);
       EXPECT_EQ(Game::group, 2);
       EXPECT_EQ(Game::stage, 3);
     }},
    {"a first tier choice sets group 0, shown on the group page", 2, [] { Game::group = -1; }, {item(11)}, 3, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(e.scene()->group, -1);
       e.tapItem(20);
       EXPECT_EQ(e.scene()->group, 0);
       EXPECT_EQ(layerValue(e, 3), 0);
       // Frame 0 of the group pictures, not the art's frame 0.
       VMPtr<ui::Screen> s = e.scene()->screen;
       EXPECT_EQ(ui::ResManager::ids->get(1)->at(s->animSetSlots->at(3)), 0x1002);
     }},
    {"the tier and group pages preview the row under the finger", 2,
     [] {
       Game::unlockFlags->at(1) = 1;
       Game::unlockFlags->at(Game::unlockIndex(1, 0)) = 1;
     },
     {item(11), hold(21)}, 3, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(layerValue(e, 1), 2);
       EXPECT_EQ(layerValue(e, 4), 7);
       e.ui.env.canvas->pointerReleased(230, 10);
       e.frame();
       e.frame();
       EXPECT_EQ(e.scene()->page, 3);
       e.tapItem(21);
       EXPECT_EQ(e.scene()->tier, 1);
       EXPECT_EQ(layerValue(e, 3), 0);
       e.press(e.itemCentre(26));
       e.frame();
       EXPECT_EQ(layerValue(e, 3), 1);
     }},
    {"back items lead up the graph", 4, [] {}, {item(39), item(39)}, 2, 4,
     [](MenuEnv& e) {
       e.tapItem(11);
       e.tapItem(20);
       e.tapItem(25);
       e.tapBox(5);
       EXPECT_EQ(e.scene()->page, 4);
       e.tapItem(39);
       e.tapItem(39);
       e.tapItem(12);
       e.tapItem(39);
       EXPECT_EQ(e.scene()->page, 2);
     }},
    {"a gallery box opens its award with the gallery's earned flag", 2,
     [] { Game::progressFlags->at(MenuScene::kAwardFlags + MenuScene::kAwardOrder[0]) = 1; },
     {item(6), box(0)}, 21, 2,
     [](MenuEnv& e) {
       EXPECT_EQ(e.scene()->selection, 0);
       EXPECT_EQ(layerValue(e, 2), 15);  // earned, as the gallery showed it
       EXPECT_EQ(gametest::text(e.scene()->menu->text->getText()), gametest::uiText(0, 61));
       e.tapItem(39);
       EXPECT_EQ(e.scene()->page, 22);
       EXPECT_EQ(layerValue(e, 3), 15);
       EXPECT_EQ(layerValue(e, 4), 14);  // box 1: award 3, not earned
       e.tapBox(1);
       EXPECT_EQ(layerValue(e, 2), 14);
       e.tapItem(39);
       e.tapBox(12);
       EXPECT_EQ(e.scene()->page, 2);
       EXPECT_EQ(e.scene()->selection, 12);
     }},
    {"exit: 38 returns to the main menu", 2, [] {}, {item(9), item(38)}, 2, 2, nullptr},
    {"about: 10 returns to the main menu", 2, [] {}, {item(7), item(10)}, 2, 2, nullptr},
};

TEST(MenuPages, PageGraph) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    MenuEnv e;
    c.setUp();
    e.start(c.start);
    for (const Touch& t : c.touches) {
      switch (t.kind) {
        case Touch::kItem:
          e.tapItem(t.id);
          break;
        case Touch::kBox:
          e.tapBox(t.id);
          break;
        case Touch::kPoint:
          e.tap({t.x, t.y});
          break;
        case Touch::kHoldItem:
          e.press(e.itemCentre(t.id));
          e.frame();
          break;
      }
    }
    EXPECT_EQ(e.sceneId(), c.sceneId);
    if (c.page == -1) {
      EXPECT_FALSE(e.scene());
    } else {
      ASSERT_TRUE(e.scene());
      EXPECT_EQ(e.scene()->page, c.page);
    }
    if (c.check) c.check(e);
  }
}

// The exit's yes asks the canvas to quit (its thread ends there).
TEST(MenuPages, ExitYesRequestsTheQuitState) {
  MenuEnv e;
  e.start(2);
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  e.tapItem(9);
  e.tapItem(37);
  EXPECT_EQ(tq::TqCanvas::runState, 4);
  ASSERT_TRUE(e.scene());
  EXPECT_EQ(e.scene()->page, 9);
  if (thread) java_test::joinThread(thread);
}

// Stage 0 open, 1 locked, 2 open with grade 0, 3 open with grade 3.
TEST(MenuPages, TheStageBoardShowsLocksNumbersAndStars) {
  MenuEnv e;
  Game::unlockFlags->at(Game::unlockIndex(0, 2)) = 1;
  Game::unlockFlags->at(Game::unlockIndex(0, 3)) = 1;
  Game::bestGrades->at(Game::bestIndex(0, 0, 3)) = 3;
  Game::tier = 0;
  Game::group = 0;
  e.start(5);
  VMPtr<gametest::RecordingGraphics> g = e.ui.graphics();
  e.scene()->paint(g);
  auto stageX = [](int32_t i) { return 120 + gametest::kStageBoxX0 + gametest::kStageBoxStep * i; };
  const int32_t y = 160 + gametest::kStageBoxY;
  auto starAt = [&](int32_t i, int32_t j) {
    return g->shows(stageX(i) + gametest::kStarBoxX0 + gametest::kStarBoxStep * j + 1, y + gametest::kStarBoxY + 1,
                    gametest::pictureColour(6));
  };
  struct Want {
    int32_t stage, picture, stars;
  };
  for (const Want& w : std::vector<Want>{{0, 0, 0}, {1, 5, 0}, {2, 2, 0}, {3, 3, 3}, {4, 5, 0}}) {
    SCOPED_TRACE(w.stage);
    EXPECT_TRUE(g->shows(stageX(w.stage) + 1, y + 1, gametest::pictureColour(w.picture)));
    for (int32_t j = 0; j < 3; ++j) EXPECT_EQ(starAt(w.stage, j), j < w.stars) << j;
  }
}

TEST(MenuPages, TheAboutTextHoldsTheVersionAfterText16) {
  MenuEnv e;
  e.start(2);
  e.tapItem(7);
  ASSERT_EQ(e.scene()->page, 8);
  const std::u16string want = gametest::uiText(0, 15) + u"\n" + gametest::uiText(0, 16) + u"1.32.0\n\n" +
                              gametest::uiText(0, 56);
  EXPECT_EQ(gametest::text(e.scene()->aboutText()), want);
  EXPECT_EQ(gametest::text(e.scene()->menu->text->getText()), want);
}

TEST(MenuPages, APageChangeKeepsTheArtCached) {
  MenuEnv e;
  e.start(2);
  const int32_t slot = ui::ResManager::find(0, 0x1009);
  ASSERT_LT(slot, ui::ResManager::count);
  VMPtr<VMArray<tq::Gob>> art = ui::ResManager::gobSets->get(slot);
  e.tapItem(12);
  ASSERT_EQ(e.scene()->page, 6);
  EXPECT_EQ(ui::ResManager::find(0, 0x1009), slot);
  EXPECT_EQ(ui::ResManager::gobSets->get(slot).get(), art.get());
}

}  // namespace
