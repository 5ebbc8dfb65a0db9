// The frame loop: the state machine and the playing state.

#include "main_Game.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"
#include "ui_Pointer.h"

namespace scene::maingame {

namespace {

// HUD touch regions (layer, box) in the order they are tested; the first
// hit wins.
enum Region { kPause, kJumpA, kDropA, kJumpB, kDropB };
constexpr int32_t kRegions[][2] = {{3, 5}, {0, 1}, {0, 2}, {1, 3}, {1, 4}};

// States in which a main object moves forward.
bool movesForward(int32_t state) {
  switch (state) {
    case InGameObject::kOnPlatform:
    case InGameObject::kOnPlatformHurt:
    case InGameObject::kFalling:
    case InGameObject::kPushedJumping:
    case InGameObject::kPushedInAir:
    case InGameObject::kJumping:
    case InGameObject::kJumpingHurt:
    case InGameObject::kFallingHurt:
    case InGameObject::kLeftBehind:
      return true;
    default:
      return false;
  }
}

bool levelLost(const VMPtr<InGameObject>& o) {
  return o->isDead() && o->getLayerValue(0) == InGameObject::kKnockedOut;
}

}  // namespace

void InGame::update() {
  Scene::update();
  if (suspended) return;
  switch (state) {
    case kLoading:
      loadLevelStep();
      break;
    case kPlaying:
      updatePlaying();
      tickObjects();
      InGameObject::_VM_clinitCheck();
      showCount(InGameObject::gathered);
      break;
    case kMenu:
      updatePauseMenu();
      break;
    case kLevelEnd:
      updateLevelEnd();
      break;
    case kResults:
      updateResults();
      break;
    default:
      break;
  }
}

void InGame::updatePlaying() {
  VMPtr<InGameObject> a = objectA;
  VMPtr<InGameObject> b = objectB;
  bool pauseAsked = false;
  if (pointerDown()) {
    SceneManager::_VM_clinitCheck();
    VMPtr<ui::Pointer> touch = SceneManager::pointer;
    VMPtr<Ints> r = rect;
    r->at(0) = touch->getX(0);
    r->at(1) = touch->getY(0);
    r->at(2) = 0;
    r->at(3) = 0;
    VMPtr<ui::Screen> hud = screen;
    for (int32_t region = kPause; region <= kDropB; ++region) {
      if (!hud->hitTest(kRegions[region][0], kRegions[region][1], r)) continue;
      switch (region) {
        case kPause:
          pauseAsked = true;
          break;
        case kJumpA:
          a->jump();
          break;
        case kDropA:
          a->drop();
          break;
        case kJumpB:
          b->jump();
          break;
        default:
          b->drop();
          break;
      }
      break;
    }
  }
  if (pauseAsked) pause();
  if (levelLost(a) || levelLost(b)) {
    state = kLevelEnd;
    subStep = 0;
  } else {
    const int32_t step = static_cast<int32_t>(int64_t{frameTime} * kStepPixels * 1000 / kStepMs / 1000);
    for (const VMPtr<InGameObject>& o : {a, b}) {
      if (movesForward(o->getState())) o->setLayerPosition(0, o->getLayerX(0) + step, o->getLayerY(0));
    }
  }
  updateCamera();
}

void InGame::tickObjects() {
  for (VMField<InGameObject>* field : {&objectA, &objectB}) {
    VMPtr<InGameObject> o = *field;
    if (o) o->tick();
  }
  for (VMField<Barriers>* field : {&barriers, &pickups}) {
    for (int32_t i = 0; *field && i < VMPtr<Barriers>(*field)->length; ++i) {
      VMPtr<InGameBarrier> o = VMPtr<Barriers>(*field)->get(i);
      if (o) o->tick();
    }
  }
  main::Game::_VM_clinitCheck();
  InGameObject::_VM_clinitCheck();
  const int32_t icons = kIcons - main::Game::tier;
  VMPtr<InGameObject> a = InGameObject::mainObjectA;
  VMPtr<InGameObject> b = InGameObject::mainObjectB;
  VMPtr<ui::Screen> hud = screen;
  for (int32_t i = 0; i < icons; ++i) {
    const int32_t frameA = i < a->lives ? 1 : 0;
    if (hud->getLayerValue(i + 5) != frameA) hud->setLayerValue(i + 5, frameA);
    const int32_t frameB = i < b->lives ? 3 : 2;
    if (hud->getLayerValue(i + 11) != frameB) hud->setLayerValue(i + 11, frameB);
  }
}

}  // namespace scene::maingame
