#include "tq_input_PointerInputKeyRegion.h"

#include "VMSynchronized.h"
#include "tq_TqCanvas.h"
#include "tq_input_PointerInputKeyManager.h"

VM_REGISTER_CLASS(tq::input::PointerInputKeyRegion, "tq.input.PointerInputKeyRegion", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace tq::input {

VMStatic<java::lang::Object> PointerInputKeyRegion::regionLock;

void PointerInputKeyRegion::_VM_clinit() { regionLock = java::lang::Object::_VM_new()->_VM_init(); }

VMPtr<PointerInputKeyRegion> PointerInputKeyRegion::_VM_init(int32_t mode, int32_t type) {
  Base::_VM_init();
  this->mode = static_cast<int8_t>(mode);
  this->type = static_cast<int8_t>(type);
  enabled = 1;
  creationTime = TqCanvas::getTimeMillis();
  return VMPtr<PointerInputKeyRegion>(this);
}

VMPtr<PointerInputKeyRegion> PointerInputKeyRegion::create(int32_t type, int32_t x, int32_t y, int32_t width,
                                                           int32_t height) {
  VMPtr<PointerInputKeyRegion> region = _VM_new()->_VM_init(kLatching, type);
  region->x = x;
  region->y = y;
  region->width = width;
  region->height = height;
  return region;
}

uint8_t PointerInputKeyRegion::contains(int32_t px, int32_t py) {
  // Compared as differences so that a rectangle near the int range's end
  // does not wrap.
  return px >= x && py >= y && static_cast<int64_t>(px) - x < width && static_cast<int64_t>(py) - y < height;
}

uint8_t PointerInputKeyRegion::isReleased() {
  if (type != kOwnKey) return VMPtr<TqCanvas>(TqCanvas::instance)->isKeyReleased(type);
  VMSynchronized lock(regionLock);
  return frameReleased;
}

void PointerInputKeyRegion::paint(VMPtr<javax::microedition::lcdui::Graphics> g) {
  const int32_t left = x - g->getTranslateX() + PointerInputKeyManager::originX;
  const int32_t top = y - g->getTranslateY() + PointerInputKeyManager::originY;
  g->drawRect(left, top, width, height);
}

uint8_t PointerInputKeyRegion::isPressed() {
  if (type != kOwnKey) return VMPtr<TqCanvas>(TqCanvas::instance)->isKeyPressed(type);
  return getPressCount() > 0;
}

uint8_t PointerInputKeyRegion::isHeld() {
  if (type != kOwnKey) return VMPtr<TqCanvas>(TqCanvas::instance)->isKeyHeld(type);
  VMSynchronized lock(regionLock);
  return frameHeld;
}

int32_t PointerInputKeyRegion::getPressCount() {
  if (type != kOwnKey) return VMPtr<TqCanvas>(TqCanvas::instance)->getKeyPressCount(type);
  VMSynchronized lock(regionLock);
  return framePressCount;
}

void PointerInputKeyRegion::latch() {
  if (type != kOwnKey) return;
  VMSynchronized lock(regionLock);
  framePressCount = pressCount;
  pressCount = 0;
  frameHeld = keyHeld;
  frameReleased = keyReleased;
  keyReleased = 0;
}

void PointerInputKeyRegion::updateRegionKey() {
  VMSynchronized lock(regionLock);
  if (keyState->pressed) {
    if (pressCount < 127) ++pressCount;
    keyHeld = 1;
    keyReleased = 0;
  } else if (keyState->released) {
    keyStateActive = 0;
    if (keyHeld) {
      keyReleased = 1;
      keyHeld = 0;
    }
  }
}

void PointerInputKeyRegion::releaseOwnKey() {
  VMSynchronized lock(regionLock);
  if (keyHeld) keyReleased = 1;
  keyHeld = 0;
  pressCount = 0;
  framePressCount = 0;
  frameHeld = 0;
  frameReleased = 0;
}

void PointerInputKeyRegion::_VM_markReferences(int colour) {
  _VM_mark(keyState, colour);
  _VM_mark(pointerHit, colour);
  _VM_mark(pointerLatched, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::input
