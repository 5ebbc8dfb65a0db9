#include "scene_maingame_InGameBarrier.h"

#include <cstdlib>

#include "VMJava.h"
#include "main_Main.h"
#include "ui_ResManager.h"

VM_REGISTER_CLASS(scene::maingame::InGameBarrier, "scene.maingame.InGameBarrier", "scene.maingame.InGameObject",
                  VM_INSTANTIABLE);

namespace scene::maingame {

using tq::AnimPlayer;
using tq::Paintable;
using tq::graphics::CollisionBox;
using Ints = VMArray<int32_t>;

namespace {

// Box types of a barrier's first box.
enum BoxType : int32_t {
  kBoxHits = 0,
  kBoxKills = 1,
  kBoxAction = 2,
  kBoxSolid = 3,
  kBoxItem = 4,
  kBoxLife = 5,
  kBoxTaken = 6,
  kBoxPushes = 7,
};
// Kinds with a rule of their own.
enum Kind : int32_t {
  kWalksAfterLeftEdge = 1,
  kThrower = 2,
  kWalksBeforeRightEdge = 3,
  kFlyer = 4,
  kQuickThrower = 5,
};
constexpr int32_t kChildAnimation = 2;
constexpr int32_t kChildKind = 6;
constexpr int32_t kFlyPace = 5;
constexpr int32_t kFlyTurnStep = 5;

}  // namespace

VMPtr<InGameBarrier> InGameBarrier::_VM_init() {
  Base::_VM_init();
  viewWidth = kViewWidth;
  viewHeight = kViewHeight;
  return VMPtr<InGameBarrier>(this);
}

int32_t InGameBarrier::mapHeight() {
  VMPtr<ui::LevelLoader> level = loader;
  return level->height * level->scaleB;
}

// --- The frame ------------------------------------------------------------

void InGameBarrier::tick() {
  VMPtr<Players> playing = players;
  if (playing && playing->get(0)) {
    chooseView();
    updateInView();
  }
  if (visible && !paused) {
    const int32_t elapsed = frameTime();
    for (int32_t i = 0; i < layerCount; ++i) {
      VMPtr<Paintable> shown = VMPtr<Paintables>(drawables)->get(i);
      if (!shown) continue;
      if (shown->getKind() == 2) VMPtr<Players>(players)->get(i)->update(elapsed);
      if (i >= 1) {
        followLayerZero(i);
        continue;
      }
      placeSprite();
      kindRule();
      if (kind != kFlyer && !armed) fallAndWalk();
      contactMainObjects();
    }
  }
  // A child may be added while the list is walked (a throw by a child):
  // the list is read again at every slot.
  for (int32_t i = 0; children && i < VMPtr<Barriers>(children)->length; ++i) {
    VMPtr<InGameBarrier> child = VMPtr<Barriers>(children)->get(i);
    if (child) child->tick();
  }
}

// The upper half of the map is view 0, the lower half view 1.
void InGameBarrier::chooseView() {
  VMPtr<ui::LevelLoader> level = loader;
  const int32_t view = player()->getY() < mapHeight() / 2 ? 0 : 1;
  viewX = VMPtr<Ints>(level->pairA)->at(view);
  viewY = VMPtr<Ints>(level->pairB)->at(view);
}

void InGameBarrier::updateInView() {
  VMPtr<AnimPlayer> p = player();
  const int32_t x = p->getX();
  const int32_t y = p->getY();
  const int32_t w = p->getWidth(0);
  const int32_t h = p->getHeight(0);
  inView = x + w > viewX && x < viewX + viewWidth && y > viewY && y - h < viewY + viewHeight;
}

void InGameBarrier::paint(VMPtr<Graphics> g) {
  Screen::paint(g);
  for (int32_t i = 0; children && i < VMPtr<Barriers>(children)->length; ++i) {
    VMPtr<InGameBarrier> child = VMPtr<Barriers>(children)->get(i);
    if (child) child->paint(g);
  }
}

// --- Kinds ------------------------------------------------------------------

void InGameBarrier::kindRule() {
  const int32_t x = player()->getX();
  const bool standing = animation() == kStanding;
  switch (kind) {
    case kWalksAfterLeftEdge:
      if (standing && x < viewX) setAnimation(kWalkRight);
      break;
    case kWalksBeforeRightEdge:
      if (standing && x < viewX + viewWidth) setAnimation(kWalkLeft);
      break;
    case kThrower:
      if (!standing) {
        throwEvery(kThrowEveryMs, false);
      } else if (x < viewX) {
        children = Barriers::create(kChildren);
        spawnTime = 0;
        setAnimation(kThrowing);
      }
      break;
    case kQuickThrower:
      if (started) {
        throwEvery(kQuickThrowEveryMs, true);
      } else if (x < viewX + viewWidth) {
        children = Barriers::create(kChildren);
        started = 1;
        spawnTime = kQuickThrowEveryMs;
      }
      break;
    case kFlyer:
      flyerRule();
      break;
    default:
      break;
  }
}

// A throw into the first empty slot once the period has passed; with no
// slot (or no list: a thrower struck before it began) the time keeps
// growing.
void InGameBarrier::throwEvery(int32_t periodMs, bool twoKinds) {
  spawnTime += frameTime();
  if (spawnTime <= periodMs || !children) return;
  VMPtr<Barriers> list = children;
  int32_t slot = 0;
  while (slot < list->length && list->get(slot)) ++slot;
  if (slot == list->length) return;
  ui::ResManager::_VM_clinitCheck();
  VMPtr<VMArray<int32_t, 2>> ids = ui::ResManager::ids;
  const int32_t gobId = ids->get(0)->at(VMPtr<Ints>(gobSlots)->at(0));
  const int32_t animSetId = ids->get(1)->at(VMPtr<Ints>(animSetSlots)->at(0));
  if (twoKinds) {
    const int32_t r = _VM_rem(main::Main::random(), 2);
    throwChild(gobId + 1, animSetId + 1, 3 + r, 2 * r + 1);
  } else {
    throwChild(gobId, animSetId, kChildAnimation, kChildKind);
  }
  spawnTime = 0;
}

// The child's slot is looked up again after the allocations.
void InGameBarrier::throwChild(int32_t gobId, int32_t animSetId, int32_t animation, int32_t childKind) {
  VMPtr<AnimPlayer> p = player();
  VMPtr<InGameBarrier> child = InGameBarrier::_VM_new();
  child->_VM_init();
  child->initLayers(2);
  child->addPlayerLayer(gobId, animSetId, animation, p->getX(), p->getY());
  child->setKind(childKind);
  VMPtr<Barriers> list = children;
  for (int32_t i = 0; i < list->length; ++i) {
    if (list->get(i)) continue;
    list->set(i, child);
    return;
  }
}

// Waiting for the view, then the aim on the first frame of flight, then
// the flight.
void InGameBarrier::flyerRule() {
  VMPtr<AnimPlayer> p = player();
  if (armed) {
    if (diveStep == kNoAim) {
      aim();
    } else {
      fly();
    }
    return;
  }
  VMPtr<ui::LevelLoader> level = loader;
  if (animation() != kStanding || p->getX() >= viewX + viewWidth - 2 * level->scaleA) return;
  armed = 1;
  movingRight = 0;
  bounces = 0;
  diveStep = kNoAim;
  diveSpeed = kNoAim;
  const bool upper = p->getY() < mapHeight() / 2;
  aimAtA = upper;
  descending = upper;
  setAnimation(upper ? kFlyDown : kFlyUp);
}

// The horizontal step that takes the flyer in a straight line to the
// other main object at its vertical speed; 0 (the view's pace) when the
// vertical distance is 0.
void InGameBarrier::aim() {
  VMPtr<AnimPlayer> p = player();
  aimAtA = !aimAtA;
  _VM_clinitCheck();
  VMPtr<InGameObject> target = aimAtA ? VMPtr<InGameObject>(mainObjectA) : VMPtr<InGameObject>(mainObjectB);
  const int32_t x = p->getX();
  const int32_t y = p->getY();
  const int32_t dx = target->getLayerX(0) - x;
  const int32_t ty = target->getLayerY(0);
  int32_t d;
  if (descending) {
    d = ty > y ? ty - y : ty + mapHeight() - 2 * y;
  } else {
    d = ty < y ? ty - y : ty;
  }
  diveSpeed = std::abs(p->getDeltaY());
  diveStep = d == 0 ? 0 : std::abs(dx) * diveSpeed / std::abs(d);
}

void InGameBarrier::fly() {
  VMPtr<AnimPlayer> p = player();
  const int32_t x = p->getX() + kFlyPace + (movingRight ? diveStep : -diveStep);
  p->setX(x);
  const int32_t y = p->getY();
  if (y - p->getHeight(0) < 1 && !descending) {
    setAnimation(kFlyDown);
    if (diveStep < kFlyTurnStep) diveStep += kFlyTurnStep;
    descending = 1;
  } else if (y > mapHeight() && descending) {
    setAnimation(kFlyUp);
    if (diveStep < kFlyTurnStep) diveStep += kFlyTurnStep;
    descending = 0;
  }
  if (!movingRight && bounces < kMostBounces && p->getX() <= viewX) {
    movingRight = 1;
    ++bounces;
  }
  if (movingRight && p->getX() + p->getWidth(0) >= viewX + kViewWidth) {
    movingRight = 0;
    ++bounces;
  }
}

// --- Standing and walking -----------------------------------------------------

void InGameBarrier::fallAndWalk() {
  VMPtr<AnimPlayer> p = player();
  const int32_t a = animation();
  const bool stopped = p->getLoopCount() == 0;
  switch (a) {
    case kStanding:
    case kFallLeft:
    case kFallRight:
      land();
      break;
    case 1:
    case 2:
      if (stopped) {
        airborne = 1;
        setAnimation(a + 2);
      }
      break;
    case kHarmed:
      if (stopped) setAnimation(kStruck);
      break;
    case kWalkLeft:
    case kWalkRight: {
      const int32_t x = p->getX();
      if (!(platformLeft <= x + p->getWidth(0) && x <= platformRight)) {
        airborne = 1;
        setAnimation(a - 4);
      }
      break;
    }
    default:
      break;
  }
}

void InGameBarrier::land() {
  if (!airborne) return;
  VMPtr<AnimPlayer> p = player();
  VMPtr<ui::LevelLoader> level = loader;
  VMPtr<CollisionBox> rect = box;
  const int32_t h = p->getHeight(0);
  const bool standing = animation() == kStanding;
  int32_t found = -1;
  for (int32_t i = 0; i < level->scaledCount; ++i) {
    scaledRect(i, rect);
    const int32_t top = rect->y;
    if (standing) {
      rect->y = top - h;
      if (collides(rect)) found = i;
    } else if (collides(rect) && p->getY() - h / 4 <= top) {
      found = i;
    }
  }
  if (found < 0) return;
  scaledRect(found, rect);
  airborne = 0;
  platformLeft = rect->x;
  platformRight = rect->x + rect->width;
  const int32_t a = animation();
  setAnimation(a == kFallLeft ? kWalkLeft : a == kFallRight ? kWalkRight : kStanding);
  p->setY(rect->y);
}

// --- Contacts ---------------------------------------------------------------

void InGameBarrier::contactMainObjects() {
  VMPtr<AnimPlayer> p = player();
  if (!inView || p->getBoxCount() < 1) return;
  VMPtr<CollisionBox> first = box;
  p->getFirstBox(first, p->getX(), p->getY(), 0);
  const int32_t type = first->type;
  _VM_clinitCheck();
  VMPtr<InGameObject> a = mainObjectA;
  if (a && !a->isDead() && a->collides(first)) {
    affect(a, type);
    return;
  }
  VMPtr<InGameObject> b = mainObjectB;
  if (b && !b->isDead() && b->collides(first)) affect(b, type);
}

// The pair of the contact is still in the hit statics for the push-outs.
void InGameBarrier::affect(const VMPtr<InGameObject>& target, int32_t type) {
  const bool wasHurt = target->isHurt();
  switch (type) {
    case kBoxHits:
    case kBoxKills:
      if (wasHurt) break;
      if (type == kBoxHits) {
        target->hit();
      } else {
        target->die();
      }
      showHitAnimation();
      break;
    case kBoxAction:
      if (wasHurt) break;
      target->startAction();
      setAnimation(kStruck);
      break;
    case kBoxSolid:
      target->pushOutSolid();
      break;
    case kBoxItem:
      _VM_clinitCheck();
      ++gathered;
      setAnimation(kFallLeft);
      break;
    case kBoxLife:
      target->lives += 1;
      setAnimation(kFallLeft);
      break;
    case kBoxTaken:
      setAnimation(kFallLeft);
      break;
    case kBoxPushes:
      target->pushOut();
      break;
    default:
      break;
  }
}

// --- Life cycle ---------------------------------------------------------------

void InGameBarrier::reset() {
  const uint8_t wasArmed = armed;
  InGameObject::reset();
  platformRight = -1;
  VMPtr<Barriers> list = children;
  if (list) {
    for (int32_t i = 0; i < list->length; ++i) {
      VMPtr<InGameBarrier> child = list->get(i);
      if (!child) continue;
      child->clear();
      list->set(i, nullptr);
    }
    children = nullptr;
    started = 0;
  }
  if (kind != kFlyer) armed = wasArmed;
}

void InGameBarrier::_VM_markReferences(int colour) {
  _VM_mark(children, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace scene::maingame
