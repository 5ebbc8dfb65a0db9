// The level-failed sequence (state 3): the failed menu (restart or
// continue), then a panel naming the lost object that waits for a tap,
// then a closing animation and the stage page.
//
// From step 2 on the scene paints only `overlay` and `pauseMenu`; the old
// overlay and menu stay disposed in the object list until the scene
// changes, and from step 9 on `screen` is gone too.

#include "main_Game.h"
#include "main_Main.h"
#include "scene_maingame_InGame.h"
#include "tq_util_text_RichFont.h"

namespace scene::maingame {

using main::Game;
using main::Main;

namespace {

enum FailedStep : int32_t {
  kFailedMenu = 0,
  kOpenFailedMenu = 1,
  kPanel = 2,
  kLostLabel = 3,
  kGroupLabel = 4,
  kLostObject = 5,
  kPanelEffect = 6,
  kPanelTexts = 7,
  kWaitForTap = 8,
  kClosing = 9,
  kClosingPlays = 10,
  kLeave = 11,
};

// Rows of the failed menu and its texts.
constexpr int32_t kFailedTitle = 42;
constexpr int32_t kContinueText = 17;
// The panel: its frame, the labels' image set, the lost object's
// animation, the effect over it.
constexpr int32_t kPanelFrame = 4;
constexpr int32_t kLabelImages = 0x1007;
constexpr int32_t kLostLabelImage = 10;
constexpr int32_t kLostAnimation = 11;
constexpr int32_t kEffectGobs = 0x0C06;
constexpr int32_t kEffectAnims = 0x0C01;
constexpr int32_t kEffectAnimation = 1;
constexpr int32_t kEffectDone = 2;
// The closing: its sets and the animations that end it.
constexpr int32_t kClosingGobs = 0x1005;
constexpr int32_t kClosingAnims = 0x1000;
constexpr int32_t kClosingWipe = 1;
constexpr int32_t kClosingWipeDone = 2;
constexpr int32_t kClosingFade = 3;
constexpr int32_t kClosingFadeDone = 4;

// The lost object's sets per tier: object A's when A died, else B's.
constexpr int32_t kLostGobs[2][InGame::kTiers] = {{0x1803, 0x1C03, 0x2003, 0x1404, 0x1403},
                                                 {0x1804, 0x1C04, 0x2004, 0x2403, 0x2404}};
constexpr int32_t kLostAnims[2][InGame::kTiers] = {{0x1800, 0x1C00, 0x2000, 0x1401, 0x1400},
                                                  {0x1801, 0x1C01, 0x2001, 0x2400, 0x2401}};
// The closing picture, read at 2 * tier when A died and 2 * tier + 1
// when B did (tier 2 lists B's picture first).
constexpr int32_t kClosingImages[2 * InGame::kTiers] = {0x1805, 0x1806, 0x1C05, 0x1C06, 0x2006,
                                                        0x2005, 0x1405, 0x2405, 0x1406, 0x2406};

int32_t lineHeight() {
  Main::_VM_clinitCheck();
  VMPtr<tq::util::text::RichFont> f = Main::font;
  return f ? f->getHeight() : 0;
}

}  // namespace

void InGame::updateLevelEnd() {
  switch (subStep) {
    case kFailedMenu:
      buildFailedMenu();
      break;
    case kOpenFailedMenu:
      state = kPlaying;
      pause();
      return;
    case kPanel:
    case kLostLabel:
    case kGroupLabel:
    case kLostObject:
    case kPanelEffect:
    case kPanelTexts:
      buildFailedPanel(subStep);
      break;
    case kWaitForTap: {
      VMPtr<ui::Screen> o = overlay;
      o->tick();
      VMPtr<ui::Addon> m = pauseMenu;
      if (m) m->tick();
      if (o->getLayerValue(4) == kEffectDone) {
        VMPtr<Ints> r = o->getLayerRect(4, 0);
        o->setLayerPosition(3, r->at(0), r->at(1) + r->at(3));
      }
      if (!tapPending()) return;
      break;
    }
    case kClosing:
      buildClosing();
      break;
    case kClosingPlays: {
      VMPtr<ui::Screen> o = overlay;
      o->tick();
      if (o->getLayerValue(2) != kClosingWipeDone || o->getLayerValue(3) != kClosingFadeDone) return;
      break;
    }
    case kLeave:
      changeSceneTo(kStagePage);
      return;
    default:
      return;
  }
  ++subStep;
}

// The failed list (rows 45 restart, 9 continue) in the lower half of the
// overlay's panel, its title in the upper half.
void InGame::buildFailedMenu() {
  VMPtr<Ints> panel = layerRect(overlay, 0, 0);
  const int32_t half = panel->at(3) / 2;
  VMPtr<Ints> bounds = scratchRect(panel->at(0), panel->at(1) + half, panel->at(2), half);
  removeMenu();
  VMPtr<ui::Addon> list = newListMenu();
  list->setItemCapacity(1);
  list->addItem(kFailedTitle, bounds->at(0), bounds->at(1) - half, bounds->at(2), half);
  finishListMenu(list, {kRowRestart, kRowContinue}, bounds, false);
}

void InGame::buildFailedPanel(int32_t step) {
  Game::_VM_clinitCheck();
  const int32_t tier = Game::tier;
  VMPtr<ui::Screen> o = overlay;
  switch (step) {
    case kPanel: {
      if (o) o->dispose();
      o = ui::Screen::_VM_new();
      o->_VM_init();
      overlay = o;
      o->initLayers(5);
      o->addFrameLayer(kPanelGobs, kPanelFrames, kPanelFrame, kScreenWidth / 2, kScreenHeight / 2);
      VMPtr<ui::Addon> m = pauseMenu;
      if (m) m->setVisible(0);
      o->setVisible(0);
      return;
    }
    case kLostLabel:
      o->addImageLayer(kLabelImages);
      o->setLayerValue(1, kLostLabelImage);
      o->setLayerPosition(1, (kScreenWidth - o->getLayerWidth(1)) / 2, (kScreenHeight - o->getLayerHeight(1)) / 2);
      return;
    case kGroupLabel:
      o->addImageLayer(kLabelImages);
      o->setLayerValue(2, 2 * Game::group);
      o->setLayerPosition(2, o->getLayerX(1), o->getLayerY(1));
      return;
    case kLostObject: {
      const int32_t lost = VMPtr<InGameObject>(objectA)->isDead() ? 0 : 1;
      o->addPlayerLayer(kLostGobs[lost][tier], kLostAnims[lost][tier], kLostAnimation, kScreenWidth / 2,
                        o->getLayerY(2) + o->getLayerHeight(2));
      return;
    }
    case kPanelEffect: {
      VMPtr<Ints> clip = scratchRect(0, o->getLayerY(2), kScreenWidth, o->getLayerHeight(2));
      o->addPlayerLayer(kEffectGobs, kEffectAnims, kEffectAnimation, o->getLayerX(3), o->getLayerY(3));
      o->setLayerClip(4, clip);
      return;
    }
    default: {
      // The texts above and below the labels, in a box the scene paints
      // and ticks itself: it is not in the object list.
      VMPtr<Ints> panel = layerRect(o, 0, 0);
      const int32_t line = lineHeight();
      VMPtr<ui::Addon> texts = ui::Addon::_VM_new();
      texts->_VM_init();
      pauseMenu = texts;
      texts->setItemCapacity(2);
      texts->addItem(kFailedTitle, panel->at(0), o->getLayerY(1) - line, panel->at(2));
      texts->addItem(kContinueText, panel->at(0), o->getLayerY(1) + o->getLayerHeight(1) + line, panel->at(2));
      o->setVisible(1);
      return;
    }
  }
}

// The closing animation centred on the screen, clipped to its first
// frame; the HUD and the texts go.
void InGame::buildClosing() {
  Main::_VM_clinitCheck();
  Main::repaintAll = 1;
  stopSounds();
  Game::_VM_clinitCheck();
  const int32_t lost = VMPtr<InGameObject>(objectA)->isDead() ? 0 : 1;
  VMPtr<ui::Screen> o = overlay;
  if (o) o->dispose();
  o = ui::Screen::_VM_new();
  o->_VM_init();
  overlay = o;
  o->initLayers(4);
  const int32_t cx = kScreenWidth / 2, cy = kScreenHeight / 2;
  o->addFrameLayer(kClosingGobs, kClosingAnims, 0, cx, cy);
  o->addImageLayer(kClosingImages[2 * Game::tier + lost]);
  o->setLayerPosition(1, cx, cy);
  o->addPlayerLayer(kClosingGobs, kClosingAnims, kClosingWipe, cx, cy);
  o->addPlayerLayer(kClosingGobs, kClosingAnims, kClosingFade, cx, cy);
  const int32_t w = o->getLayerWidth(0), h = o->getLayerHeight(0);
  VMPtr<Ints> clip = scratchRect(o->getLayerX(0) - w / 2, o->getLayerY(0) - h / 2, w, h);
  for (int32_t i = 0; i < 4; ++i) o->setLayerClip(i, clip);
  VMPtr<ui::Addon> m = pauseMenu;
  if (m) m->dispose();
  pauseMenu = nullptr;
  VMPtr<ui::Screen> hud = screen;
  if (hud) hud->dispose();
  screen = nullptr;
}

}  // namespace scene::maingame
