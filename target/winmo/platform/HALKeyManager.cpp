#include "HALKeyManager.h"

#include "HALEvents.h"
#include "HALKeys.h"

HALKeyManager::HALKeyManager(HALInputSink sink, WheelTest wheelKey)
    : sink_(sink ? sink : HAL_raiseInputEvent), wheelKey_(wheelKey) {}

bool HALKeyManager::isWheel(uint32_t vk, intptr_t lParam) const {
  if (!wheelKey_ || (vk != 38 && vk != 40)) return false;
  return wheelKey_(vk, static_cast<uint32_t>(lParam >> 16) & 0xFF);
}

void HALKeyManager::keyDown(uint32_t vk, intptr_t lParam) {
  const uint32_t now = HAL_getTickCount();
  const bool wheel = isWheel(vk, lParam);
  if (vk < 256) status_[vk] = status_[kShift] != 0 ? 1 : 2;
  const bool repeatBit = (lParam >> 30) & 1;
  if (repeatMode_) {
    if (!repeatBit || vk != lastKey_) repeatMode_ = false;
  } else if (repeatBit && lastRepeatBit_ && vk == lastKey_) {
    repeatMode_ = true;
    repeatStart_ = lastTime_;
  }
  lastKey_ = vk;
  lastTime_ = now;
  down_ = true;
  lastRepeatBit_ = repeatBit;
  // The tick wraps: compare the time since the start of repeating.
  if (repeatBit && repeatMode_ && now - repeatStart_ < kRepeatDelay) {
    pending_ = 0;
    return;
  }
  post(vk, true, repeatBit ? HAL_EVENT_KEY_REPEATED : HAL_EVENT_KEY_PRESSED, vk < 256 && status_[vk] == 1, wheel);
}

void HALKeyManager::keyUp(uint32_t vk, intptr_t lParam) {
  const bool wheel = isWheel(vk, lParam);
  bool shifted;
  if (vk < 256 && status_[vk] != 0) {
    shifted = status_[vk] == 1;
  } else {
    keyDown(vk, lParam & 0x01FF0000);
    shifted = status_[kShift] != 0;
  }
  if (vk < 256) status_[vk] = 0;
  lastTime_ = HAL_getTickCount();
  repeatMode_ = false;
  lastKey_ = vk;
  down_ = false;
  post(vk, false, HAL_EVENT_KEY_RELEASED, shifted, wheel);
}

void HALKeyManager::character(uint32_t c) {
  if (pending_ == 0) pending_ = c;
}

void HALKeyManager::post(uint32_t vk, bool pressed, int type, bool shifted, bool wheel) {
  uint32_t* chars = vk < 256 ? (shifted ? shiftedChars_ : plainChars_) : nullptr;
  int32_t code;
  if (pending_ != 0) {
    code = static_cast<int32_t>(pending_);
    if (chars) chars[vk] = pending_;
    pending_ = 0;
  } else if (chars && chars[vk] != 0) {
    code = static_cast<int32_t>(chars[vk]);
  } else {
    code = HAL_translateVirtualKey(vk, wheel);
  }
  if (code == 0) return;
  HAL_noteGameAction(code, pressed);
  const intptr_t payload = code;
  sink_(type, 1, &payload);
}
