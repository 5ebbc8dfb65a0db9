#include "scene_maingame_InGameObject.h"

#include "main_Game.h"
#include "main_Main.h"
#include "scene_SceneManager.h"

VM_REGISTER_CLASS(scene::maingame::InGameObject, "scene.maingame.InGameObject", "ui.Screen", VM_INSTANTIABLE);

namespace scene::maingame {

using tq::AnimPlayer;
using tq::Paintable;
using tq::graphics::CollisionBox;
using Ints = VMArray<int32_t>;

int32_t InGameObject::gathered;
VMStatic<InGameObject> InGameObject::mainObjectA;
VMStatic<InGameObject> InGameObject::mainObjectB;
VMStatic<tq::CellLayer> InGameObject::mapLayer;

VMPtr<InGameObject> InGameObject::_VM_init() {
  Base::_VM_init();
  main::Main::_VM_clinitCheck();
  loader = main::Main::levelLoader;
  box = CollisionBox::make();
  zoneBox = CollisionBox::make();
  setVisible(1);
  state = kFalling;
  lives = startLives();
  airborne = 1;
  halfMap = 1;
  platformIndex = -1;
  return VMPtr<InGameObject>(this);
}

int32_t InGameObject::startLives() {
  main::Game::_VM_clinitCheck();
  return kLivesAtTierZero - main::Game::tier;
}

int32_t InGameObject::frameTime() {
  SceneManager::_VM_clinitCheck();
  VMPtr<ui::Scene> current = SceneManager::currentScene;
  return current ? current->frameTime : 0;
}

VMPtr<AnimPlayer> InGameObject::player() { return VMPtr<Players>(players)->get(0); }

int32_t InGameObject::animation() { return VMPtr<Ints>(layerValues)->at(0); }

void InGameObject::placeSprite() {
  VMPtr<AnimPlayer> p = player();
  _VM_clinitCheck();
  VMPtr<tq::CellLayer>(mapLayer)->setPoolObject(p->getFrame(), p->getX(), p->getY(), 0, spriteIndex);
}

void InGameObject::followLayerZero(int32_t layer) {
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  VMPtr<AnimPlayer> p = player();
  offset->at(0) = p->getX();
  offset->at(1) = p->getY();
}

void InGameObject::scaledRect(int32_t i, const VMPtr<CollisionBox>& into) {
  VMPtr<ui::LevelLoader> level = loader;
  into->set(VMPtr<Ints>(level->scaledX)->at(i), VMPtr<Ints>(level->scaledY)->at(i),
            VMPtr<Ints>(level->scaledA)->at(i), VMPtr<Ints>(level->scaledB)->at(i));
}

int32_t InGameObject::bottomLimit() {
  VMPtr<ui::LevelLoader> level = loader;
  return level->scaleB * (halfMap ? level->height / 2 - 1 : level->height - 1);
}

void InGameObject::addPlayerLayer(int32_t gobId, int32_t animSetId, int32_t animation, int32_t x, int32_t y) {
  Screen::addPlayerLayer(gobId, animSetId, animation, x, y);
  if (layerCount != 1) return;
  VMPtr<tq::Frame> frame = player()->getFrame();
  _VM_clinitCheck();
  spriteIndex = VMPtr<tq::CellLayer>(mapLayer)->addPoolObject(frame, x, y, 0);
}

void InGameObject::reset() {
  setVisible(1);
  armed = 0;
  hurt = 0;
  dead = 0;
  blocked = 0;
  actionPending = 0;
  airborne = 1;
  platformIndex = -1;
  hurtTime = 0;
  state = kFalling;
  lives = startLives();
  VMPtr<tq::Frame> frame = player()->getFrame();
  VMPtr<ui::LevelLoader> level = loader;
  _VM_clinitCheck();
  spriteIndex = VMPtr<tq::CellLayer>(mapLayer)->addPoolObject(frame, level->pointBX, level->pointBY, 0);
}

void InGameObject::setPlatformRange(int32_t left, int32_t width) {
  platformLeft = left;
  platformRight = left + width;
}

// --- The frame ------------------------------------------------------------

void InGameObject::tick() {
  if (!visible || paused) return;
  if (hurt) {
    hurtTime += frameTime();
    if (hurtTime >= kHurtMs) endHurt();
  }
  blocked = 0;
  const int32_t elapsed = frameTime();
  for (int32_t i = 0; i < layerCount; ++i) {
    VMPtr<Paintable> shown = VMPtr<Paintables>(drawables)->get(i);
    if (!shown || shown->getKind() != 2) continue;
    VMPtr<Players>(players)->get(i)->update(elapsed);
    if (i >= 1) {
      followLayerZero(i);
      continue;
    }
    placeSprite();
    runState();
    if (!dead) checkZones();
  }
}

// The hurt look ends: back to the plain look of the state.
void InGameObject::endHurt() {
  hurtTime = 0;
  hurt = 0;
  switch (state) {
    case kHitStopped:
      setAnimation(animation() - 1);
      state = kStopped;
      break;
    case kOnPlatformHurt:
      setAnimation(animation() - 1);
      state = kOnPlatform;
      break;
    case kFallingHurt:
      setAnimation(animation() - 1);
      state = kFalling;
      break;
    case kPushedOnPlatform:
      setAnimation(kWalk);
      break;
    case kPushedInAir:
      setAnimation(kFall);
      break;
    default:
      break;
  }
}

// Layer 0's rule for the state, after its player has moved.
void InGameObject::runState() {
  VMPtr<AnimPlayer> p = player();
  const int32_t x = p->getX();
  const bool stopped = p->getLoopCount() == 0;
  switch (state) {
    case kOnPlatform:
    case kOnPlatformHurt:
      if (x + p->getWidth(0) < platformLeft || x > platformRight) {
        airborne = 1;
        setAnimation(animation() + 4);
        state = hurt ? kFallingHurt : kFalling;
      }
      break;
    case kJumping:
    case kJumpingHurt:
    case kPushedJumping:
      if (stopped) {
        airborne = 1;
        setAnimation(hurt ? kFallHurt : kFall);
        state = hurt ? kFallingHurt : kFalling;
      }
      break;
    case kFalling:
    case kFallingHurt:
    case kPushedInAir:
    case kDead:
      land();
      break;
    case kLandedAction:
      if (stopped) {
        actionPending = 0;
        setAnimation(kWalk);
        state = kOnPlatform;
      }
      break;
    case kDying:
    case kLeftBehind:
      if (stopped) {
        setAnimation(kDeadFall);
        platformIndex = -1;
        state = kDead;
      }
      break;
    default:
      break;
  }
}

// --- Platforms and zones ----------------------------------------------------

void InGameObject::settle() {
  if (dead) {
    setAnimation(kKnockedOut);
    state = kDying;
  } else if (hurt) {
    setAnimation(kWalkHurt);
    state = kOnPlatformHurt;
  } else if (actionPending) {
    setAnimation(kAction);
    state = kLandedAction;
  } else {
    setAnimation(kWalk);
    state = kOnPlatform;
  }
}

// Every record but the one stood on is tried; a later match overrides an
// earlier one.
void InGameObject::land() {
  if (!airborne && !dead) return;
  VMPtr<AnimPlayer> p = player();
  if (dead && p->getY() >= bottomLimit()) {
    airborne = 0;
    setAnimation(kKnockedOut);
    state = kDying;
    return;
  }
  VMPtr<ui::LevelLoader> level = loader;
  VMPtr<CollisionBox> rect = box;
  for (int32_t i = 0; i < level->scaledCount; ++i) {
    if (i == platformIndex) continue;
    scaledRect(i, rect);
    if (!collides(rect) || p->getPrevY() > rect->y) continue;
    airborne = 0;
    platformIndex = i;
    platformLeft = rect->x;
    platformRight = rect->x + rect->width;
    if (!dead && VMPtr<Ints>(level->scaledMode)->at(i) == kDeadly) {
      die();
    } else {
      settle();
    }
    p->setY(rect->y);
  }
}

void InGameObject::checkZones() {
  VMPtr<ui::LevelLoader> level = loader;
  VMPtr<CollisionBox> zone = zoneBox;
  for (int32_t i = 0; i < level->scaledCount && !blocked && !dead; ++i) {
    const int32_t mode = VMPtr<Ints>(level->scaledMode)->at(i);
    if (mode != kSolid && mode != kDeadly) continue;
    scaledRect(i, zone);
    if (!collides(zone)) continue;
    if (mode == kSolid) {
      pushOutSolid();
    } else {
      die();
    }
  }
}

void InGameObject::drop() {
  const int32_t a = animation();
  if (a != kWalk && a != kWalkHurt) return;
  VMPtr<ui::LevelLoader> level = loader;
  if (platformIndex != -1 && VMPtr<Ints>(level->scaledMode)->at(platformIndex) != kPlatform) return;
  if (player()->getY() >= bottomLimit()) return;
  airborne = 1;
  setAnimation(hurt ? kFallHurt : kFall);
  state = hurt ? kFallingHurt : kFalling;
}

void InGameObject::jump() {
  if (lives <= 0) return;
  switch (state) {
    case kOnPlatform:
      setAnimation(kJump);
      state = kJumping;
      break;
    case kOnPlatformHurt:
      setAnimation(kJumpHurt);
      state = kJumpingHurt;
      break;
    case kPushedOnPlatform:
      setAnimation(kJump);
      state = kPushedJumping;
      break;
    default:
      return;
  }
  platformIndex = -1;
}

// --- Hits and deaths --------------------------------------------------------

uint8_t InGameObject::collides(VMPtr<CollisionBox> other) { return player()->collidesWith(other); }

void InGameObject::hit() {
  if (hurt) return;
  hurt = 1;
  lives -= 1;
  if (lives < 1) {
    die();
    return;
  }
  switch (state) {
    case kStopped:
    case kPushedOnPlatform:
      setAnimation(animation() + 1);
      state = kHitStopped;
      break;
    case kOnPlatform:
      setAnimation(animation() + 1);
      state = kOnPlatformHurt;
      break;
    case kJumping:
    case kPushedJumping:
      airborne = 1;
      setAnimation(kFallHurt);
      state = kFallingHurt;
      break;
    case kFalling:
    case kPushedInAir:
      setAnimation(animation() + 1);
      state = kFallingHurt;
      break;
    default:
      break;
  }
}

void InGameObject::die() {
  if (dead || state == kDying) return;
  dead = 1;
  lives = 0;
  setAnimation(kDie);
  state = kDying;
}

void InGameObject::fallBehind() {
  if (dead || state == kLeftBehind) return;
  dead = 1;
  lives = 0;
  setAnimation(kDie);
  state = kLeftBehind;
}

void InGameObject::startAction() {
  if (hurt || actionPending) return;
  actionPending = 1;
  if (state != kOnPlatform) return;
  setAnimation(kAction);
  state = kLandedAction;
}

// --- Push-outs --------------------------------------------------------------

void InGameObject::pushOut() { pushOutBy(true); }

void InGameObject::pushOutSolid() { pushOutBy(false); }

// The overlap of the last contact decides: a partial overlap across x
// pushes sideways (and blocks), else a partial one across y up or down.
// Without a contact in the hit statics nothing moves.
void InGameObject::pushOutBy(bool restoreY) {
  if (dead) return;
  CollisionBox::_VM_clinitCheck();
  VMPtr<CollisionBox> own = CollisionBox::lastHitBox;
  VMPtr<CollisionBox> other = CollisionBox::lastHitOther;
  if (!own || !other) return;
  VMPtr<CollisionBox> overlap = box;
  overlap->intersection(own, other);
  pushSideways(own, other, restoreY);
  if (blocked) {
    if (!airborne) {
      const int32_t a = animation();
      state = a == kJump || a == kJumpHurt ? kPushedJumping : kPushedOnPlatform;
    } else {
      state = kPushedInAir;
    }
    return;
  }
  pushVertically(own, other);
}

void InGameObject::pushSideways(const VMPtr<CollisionBox>& own, const VMPtr<CollisionBox>& other, bool restoreY) {
  VMPtr<CollisionBox> overlap = box;
  blocked = 0;
  if (overlap->width == own->width || overlap->width == other->width) return;
  VMPtr<AnimPlayer> p = player();
  if (own->x < overlap->x) {
    p->setX(p->getX() - overlap->width);
    blocked = 1;
  } else if (own->x == overlap->x) {
    p->setX(p->getX() + overlap->width);
    blocked = 1;
  }
  if (restoreY && airborne) p->setY(p->getPrevY());
}

void InGameObject::pushVertically(const VMPtr<CollisionBox>& own, const VMPtr<CollisionBox>& other) {
  VMPtr<CollisionBox> overlap = box;
  VMPtr<AnimPlayer> p = player();
  if (overlap->height != own->height && overlap->height != other->height) {
    if (own->y < overlap->y) {
      p->setY(p->getY() - overlap->height);
      airborne = 0;
      settle();
    } else if (own->y == overlap->y) {
      p->setY(p->getY() + overlap->height);
    }
  }
  if (state == kPushedInAir) state = hurt ? kFallingHurt : kFalling;
  if (state == kPushedOnPlatform) state = hurt ? kOnPlatformHurt : kOnPlatform;
}

void InGameObject::_VM_markReferences(int colour) {
  _VM_mark(box, colour);
  _VM_mark(zoneBox, colour);
  _VM_mark(loader, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace scene::maingame
