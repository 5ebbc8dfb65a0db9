#include "tq_input_PointerInputKeyManager.h"

#include "VMJava.h"
#include "VMSynchronized.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::input::PointerInputKeyManager, "tq.input.PointerInputKeyManager", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace tq::input {

namespace {

VMPtr<PointerInputKeyRegion> regionAt(const VMPtr<java::util::Vector>& list, int32_t i) {
  return _VM_cast<PointerInputKeyRegion>(list->elementAt(i));
}

}  // namespace

VMStatic<java::util::Vector> PointerInputKeyManager::regions;
VMStatic<VMArray<PointerInputKeyManager::KeyState>> PointerInputKeyManager::keyStates;
int32_t PointerInputKeyManager::keyStateCount;
VMStatic<VMArray<int32_t>> PointerInputKeyManager::keySlots;
int32_t PointerInputKeyManager::originX;
int32_t PointerInputKeyManager::originY;
int32_t PointerInputKeyManager::pointerCount;
VMStatic<java::lang::Object> PointerInputKeyManager::keyLock;

void PointerInputKeyManager::_VM_clinit() {
  pointerCount = 1;
  keyLock = java::lang::Object::_VM_new()->_VM_init();
}

void PointerInputKeyManager::init() {
  _VM_clinitCheck();
  if (!keyStates) {
    VMPtr<VMArray<KeyState>> states = VMArray<KeyState>::create(kKeyCount);
    VMPtr<VMArray<int32_t>> slots = VMArray<int32_t>::create(kKeyCount);
    for (int32_t i = 0; i < kKeyCount; ++i) slots->at(i) = -1;
    keySlots = slots;
    keyStates = states;
  }
  canvasChanged();
}

void PointerInputKeyManager::canvasChanged() {
  _VM_clinitCheck();
  VMPtr<TqCanvas> canvas = TqCanvas::instance;
  originX = canvas->getViewX();
  originY = canvas->getViewY();
}

int32_t PointerInputKeyManager::keyIndex(int32_t code) {
  if (code >= 1 && code <= 63) return code;
  if (code >= -64 && code <= -1) return 63 - code;
  return -1;
}

void PointerInputKeyManager::pointerEvent(int32_t pointer, int32_t x, int32_t y, uint8_t down, uint8_t edge) {
  _VM_clinitCheck();
  if (!regions || !keyStates || pointer < 0 || pointer >= pointerCount) return;
  x -= originX;
  y -= originY;
  // The whole event runs under the lock, the canvas's key calls included:
  // a releaseAll from the canvas thread between the hit tests and the
  // reports would otherwise leave a reported press without its table
  // entry, and the key held forever.
  VMSynchronized lock(keyLock);
  clearTransitions();
  VMPtr<java::util::Vector> list = regions;
  for (int32_t i = 0; list && i < list->size(); ++i) {
    VMPtr<Region> r = regionAt(list, i);
    if (!r->pointerHit) continue;
    r->pointerHit->at(pointer) = 0;
    if (!down && r->pointerLatched) r->pointerLatched->at(pointer) = 0;
    if (r->type == Region::kOwnKey && r->keyStateActive) clearKeyState(r->keyState.get());
    hitTest(pointer, x, y, down, edge, r.get());
    if (r->type == Region::kOwnKey && r->keyStateActive) {
      if (down) {
        updateKeyOnDown(r->keyState.get());
      } else {
        updateKeyOnUp(r->keyState.get());
      }
      r->updateRegionKey();
    }
  }
  for (int32_t i = 0; i < keyStateCount; ++i) {
    KeyState* k = keyStates->get(i).get();
    if (down) {
      updateKeyOnDown(k);
    } else {
      updateKeyOnUp(k);
    }
  }
  reportTransitions();
}

void PointerInputKeyManager::hitTest(int32_t pointer, int32_t x, int32_t y, uint8_t down, uint8_t edge,
                                     Region* r) {
  if (!r->enabled) return;
  const bool press = down && edge;
  const bool latching = r->mode == Region::kLatching && r->pointerLatched;
  if (r->contains(x, y)) {
    // A drag or release entering a latching region not pressed on it is
    // no touch of it.
    if (!latching || r->pointerLatched->at(pointer) || press) r->pointerHit->at(pointer) = 1;
    if (!down) {
      VMPtr<KeyState> k = getKeyState(r, 0);
      if (k && k->held) {
        r->tapped = 1;
        r->pointerHit->at(pointer) = 0;
      }
    }
    if (r->mode == 0 && down) touchKey(r);
    if (latching && press) r->pointerLatched->at(pointer) = 1;
  }
  if (latching) {
    if (down && r->pointerLatched->at(pointer)) touchKey(r);
    if (!down) r->pointerLatched->at(pointer) = 0;
  }
}

void PointerInputKeyManager::touchKey(Region* r) {
  VMPtr<KeyState> k = getKeyState(r, 1);
  if (k) k->pressed = 1;
}

VMPtr<PointerInputKeyManager::KeyState> PointerInputKeyManager::getKeyState(Region* r, uint8_t create) {
  const int32_t code = r->type;
  const int32_t index = keyIndex(code);
  if (index >= 0) {
    if (keySlots->at(index) >= 0) return keyStates->get(keySlots->at(index));
    if (!create) return nullptr;
    VMPtr<KeyState> k = keyStates->get(keyStateCount);
    if (k) {
      k->released = 0;
      k->held = 0;
    } else {
      k = KeyState::_VM_new()->_VM_init();
      keyStates->set(keyStateCount, k);
    }
    k->keyCode = static_cast<int8_t>(code);
    keySlots->at(index) = keyStateCount;
    ++keyStateCount;
    return k;
  }
  if (code != Region::kOwnKey) return nullptr;
  if (r->keyStateActive) return VMPtr<KeyState>(r->keyState);
  if (!create) return nullptr;
  VMPtr<KeyState> k = r->keyState;
  if (k) {
    k->released = 0;
    k->held = 0;
  } else {
    k = KeyState::_VM_new()->_VM_init();
    r->keyState = k;
  }
  k->keyCode = static_cast<int8_t>(code);
  r->keyStateActive = 1;
  return k;
}

void PointerInputKeyManager::clearTransitions() {
  for (int32_t i = 0; i < keyStateCount; ++i) clearKeyState(keyStates->get(i).get());
}

void PointerInputKeyManager::clearKeyState(KeyState* k) {
  k->pressed = 0;
  k->released = 0;
}

void PointerInputKeyManager::updateKeyOnDown(KeyState* k) {
  k->released = k->held && !k->pressed;
  k->pressed = k->pressed && !k->held;
  k->held = k->held || k->pressed;
}

void PointerInputKeyManager::updateKeyOnUp(KeyState* k) {
  if (k->held) {
    k->released = 1;
    k->pressed = 0;
    k->held = 0;
  } else {
    k->released = 0;
  }
}

void PointerInputKeyManager::reportTransitions() {
  for (int32_t i = 0; i < keyStateCount; ++i) {
    VMPtr<KeyState> k = keyStates->get(i);
    if (k->pressed) {
      VMPtr<TqCanvas>(TqCanvas::instance)->pressKey(k->keyCode);
    } else if (k->released) {
      VMPtr<TqCanvas>(TqCanvas::instance)->releaseKey(k->keyCode);
      removeKeyState(k->keyCode);
      --i;  // another entry has moved into this one
    }
  }
}

void PointerInputKeyManager::removeKeyState(int32_t code) {
  const int32_t index = keyIndex(code);
  if (index < 0 || keySlots->at(index) < 0) return;
  const int32_t slot = keySlots->at(index);
  --keyStateCount;
  if (slot < keyStateCount) {
    VMPtr<KeyState> moved = keyStates->get(keyStateCount);
    keyStates->set(keyStateCount, keyStates->get(slot));
    keyStates->set(slot, moved);
    keySlots->at(keyIndex(moved->keyCode)) = slot;
  }
  keySlots->at(index) = -1;
}

void PointerInputKeyManager::update() {
  _VM_clinitCheck();
  VMSynchronized lock(keyLock);
  VMPtr<java::util::Vector> list = regions;
  for (int32_t i = 0; list && i < list->size(); ++i) {
    VMPtr<Region> r = regionAt(list, i);
    r->touched = r->tapped || (r->pointerHit && r->pointerHit->at(0));
    r->tapped = 0;
    if (r->type == Region::kOwnKey) r->latch();
  }
}

void PointerInputKeyManager::releaseAll() {
  _VM_clinitCheck();
  VMSynchronized lock(keyLock);
  if (keyStateCount > 0) {
    for (int32_t i = 0; i < kKeyCount; ++i) {
      if (keySlots->at(i) >= 0) keySlots->at(i) = -1;
    }
    for (int32_t i = 0; i < keyStateCount; ++i) {
      VMPtr<KeyState> k = keyStates->get(i);
      if (k->held) VMPtr<TqCanvas>(TqCanvas::instance)->releaseKey(k->keyCode);
    }
    keyStateCount = 0;
  }
  VMPtr<java::util::Vector> list = regions;
  for (int32_t i = 0; list && i < list->size(); ++i) {
    VMPtr<Region> r = regionAt(list, i);
    r->touched = 0;
    r->tapped = 0;
    for (VMArray<uint8_t>* flags : {r->pointerHit.get(), r->pointerLatched.get()}) {
      for (int32_t p = 0; flags && p < flags->length; ++p) flags->at(p) = 0;
    }
    if (r->type == Region::kOwnKey) r->releaseOwnKey();
  }
}

uint8_t PointerInputKeyManager::addRegion(VMPtr<Region> region) {
  if (!region) return 0;
  _VM_clinitCheck();
  VMSynchronized lock(keyLock);
  if (!regions) regions = java::util::Vector::_VM_new()->_VM_init();
  VMPtr<java::util::Vector> list = regions;
  if (list->contains(region)) return 0;
  VMPtr<VMArray<uint8_t>> hit = VMArray<uint8_t>::create(pointerCount);
  VMPtr<VMArray<uint8_t>> latched;
  if (region->mode == Region::kLatching) latched = VMArray<uint8_t>::create(pointerCount);
  region->pointerHit = hit;
  region->pointerLatched = latched;
  list->addElement(region);
  return 1;
}

uint8_t PointerInputKeyManager::removeRegion(VMPtr<Region> region) {
  _VM_clinitCheck();
  VMSynchronized lock(keyLock);
  VMPtr<java::util::Vector> list = regions;
  if (!list || !list->removeElement(region)) return 0;
  dropPointerState(region.get());
  return 1;
}

void PointerInputKeyManager::dropPointerState(Region* r) {
  r->pointerHit = nullptr;
  r->pointerLatched = nullptr;
}

int32_t PointerInputKeyManager::removeRegions(int32_t type) {
  _VM_clinitCheck();
  if (type != 0 && type != Region::kOwnKey && (type < -64 || type > 63)) return 0;
  VMSynchronized lock(keyLock);
  VMPtr<java::util::Vector> list = regions;
  if (!list) return 0;
  if (type == 0) {
    regions = nullptr;
    return 0;
  }
  int32_t removed = 0;
  for (int32_t i = 0; i < list->size();) {
    VMPtr<Region> r = regionAt(list, i);
    if (r->type != type) {
      ++i;
      continue;
    }
    list->removeElementAt(i);
    dropPointerState(r.get());
    ++removed;
  }
  return removed;
}

int32_t PointerInputKeyManager::getRegionCount(int32_t type) {
  _VM_clinitCheck();
  VMPtr<java::util::Vector> list = regions;
  if (!list) return 0;
  if (type == 0) return list->size();
  int32_t count = 0;
  for (int32_t i = 0; i < list->size(); ++i) {
    if (regionAt(list, i)->type == type) ++count;
  }
  return count;
}

int32_t PointerInputKeyManager::getRegions(VMPtr<VMArray<Region>> dest, int32_t type) {
  _VM_clinitCheck();
  VMPtr<java::util::Vector> list = regions;
  if (!dest || !list) return 0;
  const int8_t wanted = static_cast<int8_t>(type);
  int32_t copied = 0;
  for (int32_t i = 0; i < list->size() && copied < dest->length; ++i) {
    VMPtr<Region> r = regionAt(list, i);
    if (wanted == 0 || r->type == wanted) dest->set(copied++, r);
  }
  return copied;
}

uint8_t PointerInputKeyManager::setOption(int32_t option) { return option == 0; }

}  // namespace tq::input
