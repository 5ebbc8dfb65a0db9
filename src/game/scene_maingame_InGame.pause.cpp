// The menu state: the pause list, the level-failed and results lists and
// the confirmation boards, the restarts, resume, quit and the next level.

#include "main_Game.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"
#include "ui_ListMenu.h"
#include "ui_MsgBoard.h"

namespace scene::maingame {

using main::Game;
using main::Main;

namespace {

// The HUD's pause button: its frame while playing and while paused.
constexpr int32_t kPauseButtonLayer = 3;
constexpr int32_t kPauseButtonUp = 1;
constexpr int32_t kPauseButtonDown = 12;
// The boards' panel frame and their questions.
constexpr int32_t kBoardFrame = 3;
constexpr int32_t kBoardQuestion = 43;
// Confirmation sub-steps are the board's sub-step plus this.
constexpr int32_t kAskedOffset = 30;
constexpr int32_t kLastIndex = 4;

}  // namespace

void InGame::pause() {
  if (state != kPlaying) return;
  debugLine("STOP COUNT1!!");
  stopSounds();
  debugLine("STOP COUNT2!!");
  pauseSelection = 0;
  subStep = kMenuRows;
  state = kMenu;
  showMenu(true);
  VMPtr<ui::Screen> hud = screen;
  if (hud) hud->setLayerValue(kPauseButtonLayer, kPauseButtonDown);
}

void InGame::updatePauseMenu() {
  switch (subStep) {
    case kMenuBackToLevelEnd:
      subStep = 2;  // the failed sequence's panel
      state = kLevelEnd;
      return;
    case 0:
    case 1:
      ++subStep;
      return;
    case kMenuRestartBoard:
    case kMenuQuitBoard:
      showConfirmBoard(subStep);
      subStep += kAskedOffset;
      return;
    case kMenuRestart:
      restartLevel();
      return;
    case kMenuPlayAgain: {
      VMPtr<ui::Screen> o = overlay;
      if (o) o->setLayerCount(1);
      VMPtr<ui::Screen> hud = screen;
      if (hud) hud->setVisible(1);
      subStep = kMenuRestart;
      updatePauseMenu();
      return;
    }
    case kMenuNextLevel:
      nextLevel();
      return;
    case kMenuCancelled:
      removeMenu();
      buildPauseList(true);
      subStep = kMenuRows;
      return;
    case kMenuRestartKept:
      restartWithoutReload();
      return;
    default:
      handleMenuChoice();
      return;
  }
}

void InGame::handleMenuChoice() {
  VMPtr<ui::Addon> m = pauseMenu;
  switch (subStep) {
    case kMenuRows: {
      if (!tapPending() || !m) return;
      pauseSelection = m->getTouchedIndex();
      switch (m->getTouchedId()) {
        case kRowQuit:
          subStep = kMenuQuitBoard;
          break;
        case kRowPlayAgain:
          subStep = kMenuPlayAgain;
          break;
        case kRowContinue:
          subStep = kMenuBackToLevelEnd;
          break;
        case kRowResume:
          subStep = kMenuResume;
          break;
        case kRowNextLevel:
          subStep = kMenuNextLevel;
          break;
        case kRowRestart: {
          // A dead main object has nothing to lose: no board.
          const bool lost = VMPtr<InGameObject>(objectA)->isDead() || VMPtr<InGameObject>(objectB)->isDead();
          subStep = lost ? kMenuRestart : kMenuRestartBoard;
          break;
        }
        default:
          break;
      }
      return;
    }
    case kMenuResume: {
      Main::_VM_clinitCheck();
      VMPtr<Main> controller = Main::instance;
      if (controller) controller->playSound();
      state = kPlaying;
      VMPtr<ui::Screen> hud = screen;
      if (hud) hud->setLayerValue(kPauseButtonLayer, kPauseButtonUp);
      showMenu(false);
      return;
    }
    case kMenuRestartAsked:
    case kMenuQuitAsked: {
      if (!tapPending() || !m) return;
      const int32_t answer = m->getTouchedId();
      if (answer == kAnswerConfirm && subStep == kMenuRestartAsked) {
        subStep = kMenuRestartKept;
      } else if (answer == kAnswerConfirm) {
        changeSceneTo(kStagePage);
      } else if (answer == kAnswerCancel) {
        subStep = kMenuCancelled;
      }
      return;
    }
    default:
      return;
  }
}

void InGame::showConfirmBoard(int32_t step) {
  removeMenu();
  VMPtr<ui::MsgBoard> board = ui::MsgBoard::_VM_new();
  board->_VM_init();
  pauseMenu = board;
  board->setItemCapacity(2);
  board->addItem(step == kMenuRestartBoard ? kRowRestart : kRowQuit, 0, 0);
  board->addItem(kBoardQuestion, 0, 0);
  board->setCentredFrame(kBoardFrame);
  board->setIdCount(2);
  board->setIds(idArray({kAnswerCancel, kAnswerConfirm}));
  board->layout();
  board->setDepth(kBoardDepth);
  board->setActive(1);
  board->setVisible(1);
  showObject(board);
}

void InGame::restartLevel() {
  state = kLoading;
  subStep = 0;
  VMPtr<ui::Screen> hud = screen;
  if (hud) hud->setLayerCount(kHudLayers);
  VMPtr<ui::Addon> counter = menu;
  if (counter) {
    counter->setItemFont(0, 1);
    counter->setVisible(1);
    // An award's text of the tally would stay over the level played again.
    counter->text = nullptr;
    counter->lineCount = 0;
  }
  showMenu(false);
  removeMenu();
  buildPauseList(false);
}

void InGame::restartWithoutReload() {
  state = kLoading;
  subStep = 1;
  Main::_VM_clinitCheck();
  Main::repaintAll = 1;
  Main::showLoadingPicture = 1;
  stopSounds();
  viewX = nullptr;
  viewY = nullptr;
  // The per-view cameras the objects read, as loading step 0 leaves them.
  VMPtr<ui::LevelLoader> l = loader;
  for (VMField<Ints>* pair : {&l->pairA, &l->pairB}) {
    VMPtr<Ints> a = *pair;
    for (int32_t i = 0; a && i < a->length; ++i) a->at(i) = 0;
  }
  showMenu(false);
  removeMenu();
  buildPauseList(false);
}

// (group, stage) moves to the next stage, to the first stage of the next
// group, and never past (4, 4). A new group opens its page, the last
// level the stage page, any other level a new play scene.
void InGame::nextLevel() {
  Game::_VM_clinitCheck();
  const int32_t oldStage = Game::stage;
  int32_t next = oldStage + 1;
  if (next > kLastIndex) {
    ++Game::group;
    if (Game::group <= kLastIndex) {
      next = 0;
    } else {
      Game::group = kLastIndex;
      next = kLastIndex;
    }
  }
  Game::stage = next;
  if (next == 0) {
    changeSceneTo(kGroupPage);
  } else if (next == oldStage) {
    changeSceneTo(kStagePage);
  } else {
    changeSceneTo(kNextLevelScene);
  }
}

// --- The menu object -------------------------------------------------------

VMPtr<ui::Addon> InGame::newListMenu() {
  VMPtr<ui::ListMenu> list = ui::ListMenu::_VM_new();
  list->_VM_init();
  pauseMenu = list;
  return list;
}

void InGame::finishListMenu(VMPtr<ui::Addon> list, std::initializer_list<int32_t> ids, VMPtr<Ints> bounds,
                            bool visible) {
  list->setIdCount(static_cast<int32_t>(ids.size()));
  list->setBounds(bounds->at(0), bounds->at(1), bounds->at(2), bounds->at(3));
  list->setIds(idArray(ids));
  list->layout();
  list->setVisible(visible ? 1 : 0);
  list->setActive(1);
  list->setDepth(kMenuDepth);
  showObject(list);
}

void InGame::buildPauseList(bool visible) {
  VMPtr<ui::Addon> list = newListMenu();
  finishListMenu(list, {kRowResume, kRowRestart, kRowQuit}, layerRect(overlay, 0, 0), visible);
}

// removeObject disposes the menu and the second dispose finds nothing
// left to release: dispose drops the cache slots before giving them back.
void InGame::removeMenu() {
  VMPtr<Objects> list = objects;
  if (list && list->length > 0) removeObject(list->length - 1);
  sortObjects();
  VMPtr<ui::Addon> m = pauseMenu;
  if (m) m->dispose();
  pauseMenu = nullptr;
}

void InGame::showMenu(bool visible) {
  VMPtr<ui::Screen> o = overlay;
  if (o) o->setVisible(visible ? 1 : 0);
  VMPtr<ui::Addon> m = pauseMenu;
  if (m) m->setVisible(visible ? 1 : 0);
}

void InGame::showObject(VMPtr<ui::MyObject> o) {
  addObject(o);
  compactObjects();
  sortObjects();
}

// --- Helpers -----------------------------------------------------------------

VMPtr<InGame::Ints> InGame::scratchRect(int32_t x, int32_t y, int32_t w, int32_t h) {
  VMPtr<Ints> r = rect;
  if (!r || r->length < 4) {
    r = Ints::create(4);
    rect = r;
  }
  r->at(0) = x;
  r->at(1) = y;
  r->at(2) = w;
  r->at(3) = h;
  return r;
}

// After the change this scene's objects are gone: callers return at once.
void InGame::changeSceneTo(int32_t id) {
  VMPtr<SceneManager> manager = sceneManager;
  SceneManager::_VM_clinitCheck();
  if (!manager) manager = SceneManager::instance;
  if (manager) manager->changeScene(id);
}

void InGame::stopSounds() {
  Main::_VM_clinitCheck();
  VMPtr<Main> controller = Main::instance;
  if (controller) controller->stopAllSounds();
}

}  // namespace scene::maingame
