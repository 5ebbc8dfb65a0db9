// The results tally (state 4): a row of markers per main object (filled
// for the lives it kept), the gathered items counted up as "k/15", a
// 3-second pause, the level recorded through the controller, each new
// award shown until a tap (the list's last code first), then the results
// menu (next level, play again) in the menu state.
//
// Steps 0..26 are timed: a step does its work in its first frame (timer
// 0) and ends after 500 ms (rows) or 200 ms (count). A tap while the step
// is below 28 asks for a skip, which the next frame honours by running
// every remaining timed step at once up to the 3-second wait.

#include "java_lang_StringBuffer.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_maingame_InGame.h"
#include "ui_ListMenu.h"

namespace scene::maingame {

using main::Game;
using main::Main;

namespace {

enum TallyStep : int32_t {
  kTallyStart = 0,
  kRowAEnd = 5,
  kRowBStart = 6,
  kRowBEnd = 10,
  kCountStart = 11,
  kLastTimedStep = 26,
  kFinalWait = 27,
  kRecord = 28,
  kAward = 29,
  kAwardShown = 30,
  kResultsMenu = 31,
  kOpenResultsMenu = 32,
  kLeaveTally = 33,
};

constexpr int32_t kRowMs = 500;
constexpr int32_t kCountMs = 200;
constexpr int32_t kFinalWaitMs = 3000;

// The results panel: frame 6 of the panel sets on HUD layer 0, the
// row holders (panel frame tier + 10) on layers 4 and 10, the HUD frames
// 12 and 13 on layers 1, 3 and 2.
constexpr int32_t kResultsPanel = 6;
constexpr int32_t kHolderFrames = 10;
constexpr int32_t kResultsControls = 12;
constexpr int32_t kResultsCounter = 13;
constexpr int32_t kResultsTitle = 41;
// Markers: filled icon frames 1 (A) and 3 (B), the empty marker image 2
// of the panel sprites, frame 4 for the icons outside the rows.
constexpr int32_t kBlankIcon = 4;
constexpr int32_t kEmptyMarker = 2;
// Awards: the panel frame behind them and their pictures.
constexpr int32_t kAwardPanel = 16;
constexpr int32_t kAwardGobs = 0x1006;
constexpr int32_t kAwardFrames = 0x1001;
constexpr int32_t kGroupImages = 0x1007;
constexpr int32_t kTierDone[InGame::kTiers] = {23, 20, 19, 16, 15};
constexpr int32_t kAllTiersDone = 24;
// Codes 9 and 10 show frames 18 and 17, where the gallery shows them.
constexpr int32_t kTierPerfect[InGame::kTiers] = {25, 22, 21, 18, 17};
constexpr int32_t kAllTiersPerfect = 26;
constexpr int32_t kAwardTexts = 61;
constexpr int32_t kAwardTextOffsets[12] = {8, 5, 4, 1, 0, 9, 10, 7, 6, 3, 2, 11};
constexpr int32_t kUnlockText = 60;
// Codes: 0..4 a tier done, 5 all, 6..10 a tier perfect, 11 all; 12..16
// a group's picture, 17..21 a group's first level.
constexpr int32_t kFirstGroupCode = 12;
constexpr int32_t kFirstLevelCode = 17;
constexpr int32_t kLastCode = 21;
// The results list: its title's texts and the board frame behind it.
constexpr int32_t kLevelText = 18;
constexpr int32_t kClearedText = 19;
constexpr int32_t kResultsFrame = 9;

VMPtr<java::lang::String> utf8(const char* s) { return java::lang::String::_VM_fromUTF8(s); }

}  // namespace

void InGame::updateResults() {
  if (subStep < kRecord && tapPending()) {
    skipRequested = 1;
    return;
  }
  if (subStep <= kLastTimedStep) {
    runTimedStep();
    return;
  }
  VMPtr<Ints> awards = unlockList;
  switch (subStep) {
    case kFinalWait:
      tallyTimer += frameTime;
      if (tallyTimer > kFinalWaitMs) {
        tallyTimer = 0;
        ++subStep;
        stopSounds();
      }
      return;
    case kRecord: {
      Main::_VM_clinitCheck();
      awards = VMPtr<Main>(Main::instance)->levelFinished();
      unlockList = awards;
      if (awards->at(0) <= 0) {
        subStep = kResultsMenu;
        return;
      }
      VMPtr<ui::Screen> hud = screen;
      hud->setLayerCount(2);
      hud->setLayerValue(0, kAwardPanel);
      VMPtr<ui::Addon> counter = menu;
      counter->setItemText(0, utf8(""));
      counter->setItemText(1, utf8(""));
      subStep = kAward;
      return;
    }
    case kAward:
      if (awards->at(0) < 1) {
        subStep = kResultsMenu;
        return;
      }
      showAward();
      subStep = kAwardShown;
      return;
    case kAwardShown:
      if (!tapPending()) return;
      --awards->at(0);
      subStep = kAward;
      return;
    case kResultsMenu:
      buildResultsMenu();
      subStep = kOpenResultsMenu;
      return;
    case kOpenResultsMenu: {
      VMPtr<ui::Addon> list = pauseMenu;
      list->setVisible(1);
      addObject(overlay);
      showObject(list);
      subStep = kLeaveTally;
      return;
    }
    case kLeaveTally:
      VMPtr<ui::Addon>(menu)->setVisible(0);
      state = kMenu;
      subStep = 0;
      return;
    default:
      return;
  }
}

void InGame::runTimedStep() {
  if (tallyTimer == 0) {
    if (subStep == kTallyStart) {
      showTallyStart();
    } else if (subStep < kCountStart) {
      showMarker(subStep);
    } else {
      showCountStep(subStep);
    }
  }
  // The count may have ended: a skip stops at the final wait, the time
  // still counts.
  tallyTimer += frameTime;
  const bool skip = skipRequested && subStep <= kLastTimedStep;
  if (!skip && tallyTimer <= (subStep < kCountStart ? kRowMs : kCountMs)) return;
  tallyTimer = 0;
  subStep = nextTallyStep(subStep);
  if (skip) updateResults();
}

// Row A has 5 - tier markers (steps 1..), row B as many (steps 6..).
int32_t InGame::nextTallyStep(int32_t step) {
  Game::_VM_clinitCheck();
  const int32_t markers = kIcons - Game::tier;
  if (step > kTallyStart && step <= kRowAEnd && step >= markers) return kRowBStart;
  if (step >= kRowBStart && step <= kRowBEnd && step - kRowAEnd >= markers) return kCountStart;
  return step + 1;
}

void InGame::showTallyStart() {
  Game::_VM_clinitCheck();
  const int32_t tier = Game::tier;
  showMenu(false);
  VMPtr<ui::Screen> hud = screen;
  hud->setLayerValue(1, kResultsControls);
  hud->setFrameLayer(0, kPanelGobs, kPanelFrames, kResultsPanel, kScreenWidth / 2, kScreenHeight / 2);
  for (int32_t i = 5; i < kHudLayers; ++i) {
    if (i != 10) hud->setLayerValue(i, kBlankIcon);
  }
  VMPtr<Ints> r = layerRect(hud, 0, 0);
  hud->setLayerValue(4, tier + kHolderFrames);
  hud->setLayerPosition(4, r->at(0), r->at(1));
  r = layerRect(hud, 0, 1);
  hud->setLayerValue(10, tier + kHolderFrames);
  hud->setLayerPosition(10, r->at(0), r->at(1));
  hud->setLayerValue(3, kResultsControls);
  r = layerRect(hud, 0, 2);
  hud->setLayerValue(2, kResultsCounter);
  hud->setLayerPosition(2, r->at(0), r->at(1));
  VMPtr<ui::Addon> counter = menu;
  r = layerRect(hud, 2, 0);
  counter->setItem(0, utf8("0/15"), r->at(0), r->at(1), r->at(2), r->at(3));
  counter->setItemFont(0, 0);
  skipRequested = 0;
  r = layerRect(hud, 0, 3);
  counter->addItem(textOf(kResultsTitle), r->at(0), r->at(1), r->at(2), r->at(3));
}

// Step 1..5: marker i of A's row; 6..10: marker j of B's. A marker past
// the object's lives is the empty one. The marker takes its kind first
// and then its place: a new image layer starts at (0, 0).
void InGame::showMarker(int32_t step) {
  InGameObject::_VM_clinitCheck();
  const bool rowA = step <= kRowAEnd;
  const int32_t i = rowA ? step : step - kRowAEnd;
  const int32_t layer = rowA ? step + 4 : step + 5;
  VMPtr<InGameObject> o = rowA ? InGameObject::mainObjectA : InGameObject::mainObjectB;
  VMPtr<ui::Screen> hud = screen;
  if (i > o->lives) {
    hud->setImageLayer(layer, kPanelGobs);
    hud->setLayerValue(layer, kEmptyMarker);
  } else {
    hud->setLayerValue(layer, rowA ? 1 : 3);
  }
  VMPtr<Ints> r = layerRect(hud, rowA ? 4 : 10, i - 1);
  hud->setLayerPosition(layer, r->at(0), r->at(1));
}

// Step 11 + k shows "k/15" while k has been gathered; past the count the
// tally moves to the final wait.
void InGame::showCountStep(int32_t step) {
  InGameObject::_VM_clinitCheck();
  const int32_t k = step - kCountStart;
  if (InGameObject::gathered < k) {
    subStep = kFinalWait;
    tallyTimer = 0;
    return;
  }
  VMPtr<java::lang::StringBuffer> b = java::lang::StringBuffer::_VM_new();
  b->_VM_init(String::valueOf(k));
  b->append(utf8("/15"));
  VMPtr<Ints> r = layerRect(screen, 2, 0);
  VMPtr<ui::Addon>(menu)->setItem(0, b->toString(), r->at(0), r->at(1), r->at(2), r->at(3));
}

// Award n of the list (element 0 counts them down): its picture on HUD
// layer 1 and its text. Codes outside 0..21 show nothing.
void InGame::showAward() {
  Game::_VM_clinitCheck();
  const int32_t tier = Game::tier;
  VMPtr<Ints> awards = unlockList;
  const int32_t e = awards->at(awards->at(0));
  if (e < 0 || e > kLastCode) return;
  VMPtr<ui::Screen> hud = screen;
  VMPtr<ui::Addon> counter = menu;
  if (e >= kFirstGroupCode) {
    if (e < kFirstLevelCode) {
      hud->setImageLayer(1, kAwardGobs);
      hud->setLayerValue(1, (e - 5) * 2);
    } else {
      hud->setImageLayer(1, kGroupImages);
      hud->setLayerValue(1, (e - kFirstLevelCode) * 2);
    }
    VMPtr<Ints> r = layerRect(hud, 0, 1);
    hud->setLayerPosition(1, r->at(0), r->at(1));
    counter->setText(textOf(kUnlockText), r->at(0), r->at(1), r->at(2), r->at(3));
    return;
  }
  int32_t frame = kAllTiersPerfect;
  if (e < 5) {
    frame = kTierDone[tier];
  } else if (e == 5) {
    frame = kAllTiersDone;
  } else if (e < 11) {
    frame = kTierPerfect[tier];
  }
  hud->setFrameLayer(1, kAwardGobs, kAwardFrames, frame, 0, 0);
  VMPtr<Ints> r = layerRect(hud, 0, 1);
  hud->setLayerPosition(1, r->at(0) + (r->at(2) - hud->getLayerWidth(1)) / 2,
                        r->at(1) + (r->at(3) - hud->getLayerHeight(1)) / 2);
  r = layerRect(hud, 0, 0);
  counter->setText(textOf(kAwardTexts + kAwardTextOffsets[e]), r->at(0), r->at(1), r->at(2), r->at(3));
}

// The results list (40 next level, 3 play again) in the lower half of the
// overlay's panel, titled "<level text>   group - stage   <cleared text>"
// on the board frame behind it. Only award code 0 keeps the picture.
void InGame::buildResultsMenu() {
  Game::_VM_clinitCheck();
  VMPtr<Ints> awards = unlockList;
  VMPtr<ui::Screen> hud = screen;
  hud->setLayerCount(awards->at(1) == 0 ? 2 : 1);
  awards->at(0) = 0;
  VMPtr<Ints> panel = layerRect(overlay, 0, 0);
  const int32_t half = panel->at(3) / 2;
  VMPtr<Ints> bounds = scratchRect(panel->at(0), panel->at(1) + half, panel->at(2), half);
  VMPtr<ui::Addon> old = pauseMenu;
  if (old) old->dispose();
  VMPtr<ui::Addon> list = newListMenu();
  list->setItemCapacity(1);
  VMPtr<java::lang::StringBuffer> title = java::lang::StringBuffer::_VM_new();
  title->_VM_init(textOf(kLevelText));
  title->append(utf8("   "));
  title->append(String::valueOf(Game::group + 1));
  title->append(utf8(" - "));
  title->append(String::valueOf(Game::stage + 1));
  title->append(utf8("   "));
  title->append(textOf(kClearedText));
  list->addItem(title->toString(), 0, 0);
  list->setCentredFrame(kResultsFrame);
  list->setIdCount(2);
  list->setBounds(bounds->at(0), bounds->at(1), bounds->at(2), bounds->at(3));
  list->setIds(idArray({kRowNextLevel, kRowPlayAgain}));
  list->layout();
  list->setVisible(0);
  list->setActive(1);
  list->setDepth(kMenuDepth);
}

}  // namespace scene::maingame
