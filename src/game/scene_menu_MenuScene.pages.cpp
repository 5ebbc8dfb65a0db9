// The menu pages' backgrounds: one load step a call, counted down from
// the page's step count to step 1, which adds the screen to the scene.
#include "main_Game.h"
#include "main_Main.h"
#include "scene_menu_MenuScene.h"

namespace scene::menu {

using main::Game;
using main::Main;

namespace {

// Sprite and animation sets of the menu art.
constexpr int32_t kBoxGobs = 0xC09, kBoxAnims = 0xC04;
constexpr int32_t kHighlightGobs = 0xC05, kHighlightAnims = 0xC00;
constexpr int32_t kArtGobs = 0x1006, kArtAnims = 0x1001;
constexpr int32_t kGroupGobs = 0x1007, kGroupAnims = 0x1002;
constexpr int32_t kPageGobs = 0x1008, kPageAnims = 0x1003;
constexpr int32_t kListGobs = 0x1009, kListAnims = 0x1004;
// Frames of the art set.
constexpr int32_t kLevelBoard = 11, kStageButton = 12, kGallery = 13, kLockedAward = 14, kFirstAward = 15;
// Pictures of the art sprite set: stage numbers 0..4, the lock, the star.
constexpr int32_t kLockPicture = 5, kStarPicture = 6;
// The highlight's hidden animation.
constexpr int32_t kHidden = 5;
// The first of the steps that pages 5 and 22 run between steps 3 and 2.
constexpr int32_t kFirstInnerStep = 6;

struct Background {
  int32_t page, layers, steps;
};
constexpr Background kBackgrounds[] = {
    {2, 1, 2}, {6, 1, 2}, {11, 1, 2}, {3, 5, 6},  {4, 5, 6},  {5, 34, 5},
    {7, 2, 3}, {8, 2, 3}, {9, 1, 2},  {10, 1, 2}, {21, 3, 4}, {22, 16, 5},
};

}  // namespace

void MenuScene::loadStep() {
  if (loadCounter == 0) {
    beginBackground();
    return;
  }
  const int32_t step = loadCounter;
  --loadCounter;
  if (step == 1) {
    addObject(VMPtr<ui::Screen>(screen));
    return;
  }
  backgroundStep(step);
}

// An unknown page gets an empty screen in one step.
void MenuScene::beginBackground() {
  Background b = {page, 0, 1};
  for (const Background& k : kBackgrounds) {
    if (k.page == page) b = k;
  }
  VMPtr<ui::Screen> s = ui::Screen::_VM_new();
  s->_VM_init();
  screen = s;
  s->setBackgroundEnabled(0);
  s->initLayers(b.layers);
  loadCounter = b.steps;
}

void MenuScene::backgroundStep(int32_t step) {
  switch (page) {
    case 2:
    case 6:
    case 11:
      frameLayer(kListGobs, kListAnims, 0, kCentreX, kCentreY);
      break;
    case 3:
    case 4:
      tierSteps(step);
      break;
    case 5:
      stageBoardSteps(step);
      break;
    case 7:
    case 8:
      textPageSteps(step, 0);
      break;
    case 9:
    case 10:
      frameLayer(kBoxGobs, kBoxAnims, 4, kCentreX, kCentreY);
      break;
    case 21:
      if (step == 2) {
        awardPicture(layerRect(0, 3), selection);
      } else {
        textPageSteps(step - 1, 1);
      }
      break;
    case 22:
      galleryStep(step);
      break;
    default:
      break;
  }
}

void MenuScene::tierSteps(int32_t step) {
  switch (step) {
    case 6:
      frameLayer(kBoxGobs, kBoxAnims, 4, kCentreX, kCentreY);
      break;
    case 5:
      frameLayer(kArtGobs, kArtAnims, tier + 1, kCentreX, kCentreY);
      break;
    case 4:
      frameLayer(kGroupGobs, kGroupAnims, 5, kCentreX, kCentreY);
      break;
    case 3:
      if (group == -1) {
        frameLayer(kArtGobs, kArtAnims, 0, kCentreX, kCentreY);
      } else {
        frameLayer(kGroupGobs, kGroupAnims, group, kCentreX, kCentreY);
      }
      break;
    default:
      frameLayer(kArtGobs, kArtAnims, tier + 6, kCentreX, kCentreY);
      break;
  }
}

// Steps 5, 4, 3 (the level board is layer 2), then one step per stage
// (6..10), then the highlight (step 2).
void MenuScene::stageBoardSteps(int32_t step) {
  if (step >= kFirstInnerStep) {
    stageStep(step - kFirstInnerStep);
    loadCounter = step == kFirstInnerStep + kStages - 1 ? 2 : step + 1;
    return;
  }
  switch (step) {
    case 5:
      frameLayer(kBoxGobs, kBoxAnims, 4, kCentreX, kCentreY);
      break;
    case 4:
      frameLayer(kArtGobs, kArtAnims, tier + 1, kCentreX, kCentreY);
      break;
    case 3:
      frameLayer(kArtGobs, kArtAnims, kLevelBoard, kCentreX, kCentreY);
      loadCounter = kFirstInnerStep;
      break;
    default: {
      VMPtr<Ints> r = layerRect(2, stage);
      VMPtr<ui::Screen>(screen)->addPlayerLayer(kHighlightGobs, kHighlightAnims, kHidden, r->at(0), r->at(1));
      break;
    }
  }
}

// The stage button; over it the lock, or the number and a star per grade
// point at the button's boxes 0, 1, 2.
void MenuScene::stageStep(int32_t i) {
  VMPtr<ui::Screen> s = screen;
  VMPtr<Ints> r = layerRect(2, i);
  const int32_t x = r->at(0), y = r->at(1);
  frameLayer(kArtGobs, kArtAnims, kStageButton, x, y);
  const int32_t button = s->getLayerCount() - 1;
  const int32_t n = s->getLayerCount();
  s->addImageLayer(kArtGobs);
  Game::_VM_clinitCheck();
  if (VMPtr<VMArray<int8_t>>(Game::unlockFlags)->at(Game::unlockIndex(group, i)) == 0) {
    s->setLayerValue(n, kLockPicture);
    s->setLayerPosition(n, x, y);
    return;
  }
  s->setLayerValue(n, i);
  s->setLayerPosition(n, x, y);
  const int32_t grade = VMPtr<VMArray<int32_t>>(Game::bestGrades)->at(Game::bestIndex(tier, group, i));
  for (int32_t j = 0; j < grade; ++j) {
    VMPtr<Ints> star = layerRect(button, j);
    s->addImageLayer(kArtGobs);
    s->setLayerValue(n + 1 + j, kStarPicture);
    s->setLayerPosition(n + 1 + j, star->at(0), star->at(1));
  }
}

// Help and about (frame 0), one award (frame 1): the page frame with a
// light rectangle over its box 0, then a random picture at its box 5.
void MenuScene::textPageSteps(int32_t step, int32_t frame) {
  if (step == 3) {
    frameLayer(kPageGobs, kPageAnims, frame, kCentreX, kCentreY);
    lightRect(0, 0);
    return;
  }
  VMPtr<Ints> r = layerRect(0, 5);
  frameLayer(kPageGobs, kPageAnims, 6 + Main::random() % 5, r->at(0), r->at(1));
}

// Award box i's picture at r when its award is earned, else the locked
// picture (also for a box outside the gallery).
void MenuScene::awardPicture(VMPtr<Ints> r, int32_t box) {
  Game::_VM_clinitCheck();
  const bool earned = box >= 0 && box < kAwards &&
                      VMPtr<VMArray<int8_t>>(Game::progressFlags)->at(kAwardFlags + kAwardOrder[box]) != 0;
  frameLayer(kArtGobs, kArtAnims, earned ? kFirstAward + box : kLockedAward, r->at(0), r->at(1));
}

// Steps 5, 4, 3 (the gallery is layer 2), one step per award box (6..17),
// then the highlight (step 2).
void MenuScene::galleryStep(int32_t step) {
  if (step >= kFirstInnerStep) {
    awardPicture(layerRect(2, step - kFirstInnerStep), step - kFirstInnerStep);
    loadCounter = step == kFirstInnerStep + kAwards - 1 ? 2 : step + 1;
    return;
  }
  switch (step) {
    case 5:
    case 4:
      frameLayer(kArtGobs, kArtAnims, 0, kCentreX, kCentreY);
      break;
    case 3:
      frameLayer(kArtGobs, kArtAnims, kGallery, kCentreX, kCentreY);
      lightRect(2, 12);
      loadCounter = kFirstInnerStep;
      break;
    default: {
      VMPtr<Ints> r = layerRect(2, selection);
      VMPtr<ui::Screen>(screen)->addPlayerLayer(kHighlightGobs, kHighlightAnims, kHidden, r->at(0), r->at(1));
      break;
    }
  }
}

void MenuScene::frameLayer(int32_t gobs, int32_t animSet, int32_t frame, int32_t x, int32_t y) {
  VMPtr<ui::Screen>(screen)->addFrameLayer(gobs, animSet, frame, x, y);
}

VMPtr<MenuScene::Ints> MenuScene::layerRect(int32_t layer, int32_t box) {
  VMPtr<Ints> r = VMPtr<ui::Screen>(screen)->getLayerRect(layer, box);
  rect = r;
  return r;
}

void MenuScene::lightRect(int32_t layer, int32_t box) {
  VMPtr<ui::Screen> s = screen;
  VMPtr<Ints> r = layerRect(layer, box);
  s->initRects(1);
  s->setRect(0, r, kLightColour);
}

}  // namespace scene::menu
