// The menu pages' handlers: once a frame, at most one choice, from the
// touched id of the menu box in the frame of a release (or from a hit on
// the background's boxes on pages 5 and 22), and the page it leads to.
#include "GameIds.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_menu_MenuScene.h"

namespace scene::menu {

using main::Game;
using main::Main;
using ui::Pointer;

namespace {

// Buttons that scroll the text of pages 7, 8 and 21.
constexpr int32_t kUpButton = 14;
constexpr int32_t kDownButton = 17;
constexpr int32_t kHelpPages = 3;
constexpr int32_t kHelpTexts = 57;
// The highlight's animations: on a box, on the back box, hidden.
constexpr int32_t kOnBox = 2, kOnBack = 3, kHidden = 5;
// Translation tables of the language page's items 47, 50, 51, 52, 53.
struct Language {
  int32_t item, table;
};
constexpr Language kLanguages[] = {{47, 0x5000}, {50, 0x5001}, {51, 0x5003}, {52, 0x5002}, {53, 0x5004}};

VMPtr<Main> controller() {
  Main::_VM_clinitCheck();
  return VMPtr<Main>(Main::instance);
}

}  // namespace

void MenuScene::handlePage() {
  VMPtr<ui::Addon> box = menu;
  const int32_t id = box ? box->getTouchedId() : -1;
  switch (page) {
    case 2:
      mainMenu(id);
      break;
    case 3:
    case 4:
      levelList();
      break;
    case 5:
      stageBoard();
      break;
    case 6:
      options(id);
      break;
    case 7:
      help(id);
      break;
    case 8:
      about(id);
      break;
    case 9:
      exitPage(id);
      break;
    case 10:
      sound(id);
      break;
    case 11:
      language(id);
      break;
    case 21:
      award(id);
      break;
    case 22:
      gallery();
      break;
    default:
      break;
  }
}

void MenuScene::goTo(int32_t p) {
  setPage(p);
  restart();
}

bool MenuScene::released() {
  Pointer::_VM_clinitCheck();
  return Pointer::released->at(0) && !Pointer::down->at(0);
}

bool MenuScene::down() {
  Pointer::_VM_clinitCheck();
  return Pointer::down->at(0) != 0;
}

void MenuScene::mainMenu(int32_t id) {
  switch (id) {
    case 11:
      goTo(3);
      break;
    case 6:
      selection = 0;
      goTo(22);
      break;
    case 12:
      goTo(6);
      break;
    case 8:
      goTo(7);
      break;
    case 7:
      goTo(8);
      break;
    case 9:
      goTo(9);
      break;
    default:
      break;
  }
}

// Tier (3) and group (4): a release chooses; while the finger is down the
// background previews the row under it (not the back row, not a locked
// one).
void MenuScene::levelList() {
  VMPtr<ui::Addon> box = menu;
  if (released()) {
    const int32_t id = box->getTouchedId();
    if (id == gameids::kTextBack) {
      goTo(page == 3 ? 2 : 3);
    } else if (page == 3 && id >= 20 && id <= 24) {
      tier = box->getTouchedIndex();
      if (group == -1) group = 0;
      goTo(4);
    } else if (page == 4 && id >= 25 && id <= 29) {
      setPage(5);
      group = box->getTouchedIndex();
      restart();
    }
    return;
  }
  if (!down()) return;
  SceneManager::_VM_clinitCheck();
  const int32_t k = VMPtr<Pointer>(SceneManager::pointer)->pressedBox(0);
  if (k == -1 || k == 5 || box->getSelectedId() == 0) return;
  VMPtr<ui::Screen> s = screen;
  if (page == 3 && s->getLayerValue(1) != k + 1) {
    s->setLayerValue(1, k + 1);
    s->setLayerValue(4, k + 6);
  } else if (page == 4 && s->getLayerValue(3) != k) {
    s->setLayerValue(3, k);
  }
}

// The first of boxes 0 .. count - 1 of the background's layer 2 under
// pointer 0 (locked stages skipped), the highlight moved onto it while the
// finger is down; with no box hit the highlight hides. -1 when nothing was
// hit or the finger is still down.
int32_t MenuScene::boardHit(int32_t count, int32_t backBox, bool skipLocked) {
  VMPtr<ui::Screen> s = screen;
  SceneManager::_VM_clinitCheck();
  VMPtr<Pointer> touch = SceneManager::pointer;
  const int32_t px = touch->getX(0), py = touch->getY(0);
  const bool isDown = down();
  Game::_VM_clinitCheck();
  for (int32_t i = 0; i < count; ++i) {
    if (skipLocked && i != backBox &&
        VMPtr<VMArray<int8_t>>(Game::unlockFlags)->at(Game::unlockIndex(group, i)) == 0) {
      continue;
    }
    VMPtr<tq::graphics::CollisionBox> hit = s->getCollisionBox(2, i);
    if (!hit->contains(px, py)) continue;
    if (!isDown) return i;
    const int32_t h = s->getLayerCount() - 1;
    s->setLayerValue(h, i == backBox ? kOnBack : kOnBox);
    s->setLayerPosition(h, hit->x, hit->y);
    return -1;
  }
  s->setLayerValue(s->getLayerCount() - 1, kHidden);
  return -1;
}

void MenuScene::stageBoard() {
  if (!down() && !released()) return;
  const int32_t i = boardHit(kStages + 1, kStages, true);
  if (i == kStages) {
    goTo(4);
  } else if (i >= 0) {
    selection = i;
    Game::_VM_clinitCheck();
    Game::tier = tier;
    Game::group = group;
    Game::stage = selection;
    VMPtr<SceneManager>(sceneManager)->changeScene(kPlayScene);
  }
}

void MenuScene::gallery() {
  if (!down() && !released()) return;
  const int32_t i = boardHit(kAwards + 1, kAwards, false);
  if (i < 0) return;
  selection = i;
  goTo(i == kAwards ? 2 : 21);
}

void MenuScene::options(int32_t id) {
  if (id == 13) {
    goTo(10);
  } else if (id == 46) {
    goTo(11);
  } else if (id == gameids::kTextBack) {
    goTo(2);
  }
}

// Button 14 scrolls up and button 17 down (both when both are pressed);
// with `downFirst` (the about page) only one of them, down first.
void MenuScene::scrollText(bool downFirst) {
  VMPtr<SceneManager> manager = sceneManager;
  VMPtr<ui::Addon> box = menu;
  if (downFirst) {
    if (manager->isButtonPressed(kDownButton)) {
      box->scrollTextDown();
    } else if (manager->isButtonPressed(kUpButton)) {
      box->scrollTextUp();
    }
    return;
  }
  if (manager->isButtonPressed(kUpButton)) box->scrollTextUp();
  if (manager->isButtonPressed(kDownButton)) box->scrollTextDown();
}

void MenuScene::help(int32_t id) {
  scrollText(false);
  if (id == gameids::kTextMainMenu) {
    goTo(2);
  } else if (id == gameids::kTextBack) {
    helpSubPage(-1);
  } else if (id == gameids::kTextNext) {
    helpSubPage(1);
  }
}

// The board's text and answers change in place: the first sub-page offers
// 10 and 40, the middle one 39 and 40, the last one 39 and 10.
void MenuScene::helpSubPage(int32_t step) {
  VMPtr<ui::Addon> box = menu;
  VMPtr<Ints> ids = Ints::create(2);
  selection += step;
  ids->at(0) = step < 0 ? gameids::kTextMainMenu : gameids::kTextBack;
  ids->at(1) = step < 0 ? gameids::kTextNext : gameids::kTextMainMenu;
  if (step < 0 && selection != 0) ids->at(0) = gameids::kTextBack;
  if (step > 0 && selection != kHelpPages - 1) ids->at(1) = gameids::kTextNext;
  box->setText(textOf(kHelpTexts + selection));
  box->setIds(ids);
  if (step > 0) box->setSelectedRow(0);
}

void MenuScene::about(int32_t id) {
  if (id == gameids::kTextMainMenu) {
    goTo(2);
    return;
  }
  scrollText(true);
}

void MenuScene::exitPage(int32_t id) {
  if (id == gameids::kTextYes) {
    VMPtr<tq::TqCanvas>(canvas)->requestState(3);
  } else if (id == gameids::kTextNo) {
    goTo(2);
  }
}

// The first run goes on to the main menu; later the options page.
void MenuScene::sound(int32_t id) {
  VMPtr<Main> m = controller();
  if (id == gameids::kTextYes) {
    m->loadSoundSet(5);
    m->playSound();
  } else if (id == gameids::kTextNo) {
    m->soundOff();
  } else {
    return;
  }
  if (Main::firstRun) {
    Main::firstRun = 0;
    goTo(2);
  } else {
    goTo(6);
  }
}

// The first run goes on to the sound question; later the options page.
void MenuScene::language(int32_t id) {
  for (const Language& l : kLanguages) {
    if (l.item != id) continue;
    VMPtr<Main> m = controller();
    Main::translationId = l.table;
    m->loadTranslation(Main::translationId);
    translation = Main::translation;
    m->selectFont(1);
    goTo(Main::firstRun ? 10 : 6);
    return;
  }
}

void MenuScene::award(int32_t id) {
  scrollText(false);
  if (id == gameids::kTextBack) goTo(22);
}

}  // namespace scene::menu
