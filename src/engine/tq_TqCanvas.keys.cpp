// Key recording: events on the main thread write the live state bytes
// under the input lock; the canvas thread latches them into the frame
// bytes once per tick. Stylus events go to the two pointer managers.
#include "VMSynchronized.h"
#include "tq_TqCanvas.h"
#include "tq_input_PointerInputEventManager.h"
#include "tq_input_PointerInputKeyManager.h"

namespace tq {

using input::PointerInputEventManager;
using input::PointerInputKeyManager;

namespace {

// The letters of a full keyboard that stand for keypad keys, as groups of
// a length (3, counting itself), the keypad key and the letter.
constexpr char16_t kKeypadFolding[] = {3, u'0', u'.', 3, u'1', u'u', 3, u'2', u'i', 3, u'3', u'o',
                                       3, u'4', u'j', 3, u'5', u'k', 3, u'6', u'l', 3, u'7', u'm',
                                       3, u'8', u'\u00F6', 3, u'9', u'\u00E4', 3, u'#', u'\u00E5', 3, u'*', u','};
constexpr int32_t kFoldingLength = sizeof kKeypadFolding / sizeof kKeypadFolding[0];
constexpr int32_t kKeyCount = 128;
constexpr int32_t kTableKeys = 64;
constexpr int32_t kMaskKeys = 32;
// allocateKeyNumber hands out the unused key numbers down to this one.
constexpr int32_t kLastFreeKeyNumber = 41;

}  // namespace

void TqCanvas::keyPressed(int32_t code) { dispatchKey(code, 1); }

void TqCanvas::keyReleased(int32_t code) { dispatchKey(code, 2); }

void TqCanvas::pointerPressed(int32_t x, int32_t y) { pointerFeed(x, y, 1, 1, PointerInputEventManager::kPress); }

void TqCanvas::pointerReleased(int32_t x, int32_t y) {
  pointerFeed(x, y, 0, 1, PointerInputEventManager::kRelease);
}

void TqCanvas::pointerDragged(int32_t x, int32_t y) { pointerFeed(x, y, 1, 0, PointerInputEventManager::kDrag); }

// The key manager first (touch regions), then the event queue.
void TqCanvas::pointerFeed(int32_t x, int32_t y, uint8_t down, uint8_t edge, int32_t type) {
  PointerInputKeyManager::pointerEvent(0, x, y, down, edge);
  if (PointerInputEventManager::isEnabled()) PointerInputEventManager::addEvent(0, x, y, type, 0);
}

void TqCanvas::dispatchKey(int32_t code, int32_t type) {
  const bool known = type == 1 || type == 2;
  bool matched = false;
  for (int32_t group = 0; group < kFoldingLength; group += kKeypadFolding[group]) {
    const char16_t keypadKey = kKeypadFolding[group + 1];
    for (int32_t member = group + 1; member < group + kKeypadFolding[group]; ++member) {
      if (kKeypadFolding[member] != code) continue;
      matched = true;
      if (known) keyEvent(keypadKey, type == 1);
    }
  }
  if (!matched && known) keyEvent(code, type == 1);
}

void TqCanvas::keyEvent(int32_t code, uint8_t pressed) {
  if (code == 0) return;
  _VM_clinitCheck();
  VMSynchronized lock(inputLock);
  if (pressed) anyKeyPressed = 1;
  for (int32_t i = 1; i < kTableKeys; ++i) {
    if (keyCodes->at(i) != code) continue;
    if (pressed && (liveKeys->at(i) & kHeld)) continue;
    setKeyState(i, pressed);
  }
}

void TqCanvas::setKeyState(int32_t keyNumber, uint8_t pressed) {
  VMSynchronized lock(inputLock);
  int8_t& state = liveKeys->at(keyNumber);
  const int32_t bits = state & 0xFF;
  if (pressed) {
    const int32_t count = (bits & kCountMask) < kCountMask ? (bits & kCountMask) + 1 : kCountMask;
    state = static_cast<int8_t>((bits & ~kCountMask) | count | kHeld);
    anyKeyPressed = 1;
  } else if (bits & kHeld) {
    state = static_cast<int8_t>((bits & ~kHeld) | kReleased);
  }
}

int32_t TqCanvas::keyIndexOf(int32_t key) {
  if (key == 0 || key < -64 || key > 63) return -1;
  return key > 0 ? key : 63 - key;
}

void TqCanvas::pressKey(int32_t key) {
  const int32_t index = keyIndexOf(key);
  if (index > 0) setKeyState(index, 1);
}

void TqCanvas::releaseKey(int32_t key) {
  const int32_t index = keyIndexOf(key);
  if (index > 0) setKeyState(index, 0);
}

void TqCanvas::tapKey(int32_t code) {
  keyPressed(code);
  keyReleased(code);
}

int32_t TqCanvas::allocateKeyNumber() {
  _VM_clinitCheck();
  if (nextKeyNumber < kLastFreeKeyNumber) return 0;
  return nextKeyNumber--;
}

void TqCanvas::latchKeys() {
  {
    VMSynchronized lock(inputLock);
    VMPtr<VMArray<int8_t>> latched = liveKeys;
    liveKeys = frameKeys;
    frameKeys = latched;
    int8_t* frame = latched->elements();
    int8_t* live = liveKeys->elements();
    for (int32_t i = 0; i < kKeyCount; ++i) {
      // A key still down stays held; one pressed this frame reads as held.
      live[i] = static_cast<int8_t>(frame[i] & kHeld);
      if (frame[i] & kCountMask) frame[i] = static_cast<int8_t>(frame[i] | kHeld);
    }
    anyKeyThisFrame = anyKeyPressed;
    pressedKeysCache = heldKeysCache = releasedKeysCache = 1;
    anyKeyPressed = 0;
  }
  PointerInputKeyManager::update();
}

void TqCanvas::resetKeys() {
  {
    VMSynchronized lock(inputLock);
    int8_t* frame = frameKeys->elements();
    int8_t* live = liveKeys->elements();
    for (int32_t i = 1; i < kKeyCount; ++i) {
      live[i] = static_cast<int8_t>((frame[i] & kHeld) ? kReleased : 0);
      frame[i] = 0;
    }
    anyKeyPressed = anyKeyThisFrame = 0;
    pressedKeysCache = heldKeysCache = releasedKeysCache = 1;
  }
  PointerInputKeyManager::releaseAll();
}

int32_t TqCanvas::getKeyState(int32_t key) {
  const int32_t index = keyIndexOf(key);
  return index < 0 ? 0 : frameKeys->at(index) & 0xFF;
}

int32_t TqCanvas::getKeyPressCount(int32_t key) { return getKeyState(key) & kCountMask; }
uint8_t TqCanvas::isKeyPressed(int32_t key) { return (getKeyState(key) & kCountMask) != 0; }
uint8_t TqCanvas::isKeyHeld(int32_t key) { return (getKeyState(key) & kHeld) != 0; }
uint8_t TqCanvas::isKeyReleased(int32_t key) { return (getKeyState(key) & kReleased) != 0; }

// Bit i for every key number 1..31 whose frame byte has a bit of `mask`;
// bit 0 never, so 1 can mark a stale cache.
int32_t TqCanvas::keyMask(int32_t mask) {
  int32_t bits = 0;
  for (int32_t i = 1; i < kMaskKeys; ++i) {
    if (frameKeys->at(i) & mask) bits |= 1 << i;
  }
  return bits;
}

int32_t TqCanvas::getPressedKeys() {
  if (pressedKeysCache == 1) pressedKeysCache = keyMask(kCountMask);
  return pressedKeysCache;
}

int32_t TqCanvas::getHeldKeys() {
  if (heldKeysCache == 1) heldKeysCache = keyMask(kHeld);
  return heldKeysCache;
}

int32_t TqCanvas::getReleasedKeys() {
  if (releasedKeysCache == 1) releasedKeysCache = keyMask(kReleased);
  return releasedKeysCache;
}

// The lowest key number 1..31 whose own frame byte has a bit of `mask`;
// 0 for none.
int8_t TqCanvas::firstKeyWith(int32_t mask) {
  for (int32_t i = 1; i < kMaskKeys; ++i) {
    if (frameKeys->at(i) & mask) return static_cast<int8_t>(i);
  }
  return 0;
}

int8_t TqCanvas::getFirstPressedKey() { return firstKeyWith(kCountMask); }
int8_t TqCanvas::getFirstHeldKey() { return firstKeyWith(kHeld); }
int8_t TqCanvas::getFirstReleasedKey() { return firstKeyWith(kReleased); }

void TqCanvas::syncInputLock() { VMSynchronized lock(inputLock); }

}  // namespace tq
