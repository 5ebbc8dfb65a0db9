#include "tq_input_PointerInputKeyManager.h"

#include "VMSynchronized.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::input::PointerInputKeyManager, "tq.input.PointerInputKeyManager", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace tq::input {

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
  if (!regions || !keyStates) return;
  x -= originX;
  y -= originY;
  clearTransitions();
  {
    VMSynchronized lock(keyLock);
    // The regions' hit tests come here, with the region class.
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

void PointerInputKeyManager::clearTransitions() {
  for (int32_t i = 0; i < keyStateCount; ++i) {
    KeyState* k = keyStates->get(i).get();
    k->pressed = 0;
    k->released = 0;
  }
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
  // Each region's per-frame latch comes here, with the region class.
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
  // Each region's touch and latch state is cleared here, with the region
  // class.
}

int32_t PointerInputKeyManager::removeRegions(int32_t type) {
  _VM_clinitCheck();
  if (type != 0 && type != 127 && (type < -64 || type > 63)) return 0;
  VMSynchronized lock(keyLock);
  if (!regions) return 0;
  if (type == 0) regions = nullptr;
  // Removing the regions of one type comes with the region class.
  return 0;
}

}  // namespace tq::input
