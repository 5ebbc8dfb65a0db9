#include "HALPointerManager.h"

#include <cstdlib>

#include "HALDevice.h"
#include "HALEvents.h"

HALPointerManager::HALPointerManager(HALInputSink sink) : sink_(sink ? sink : HAL_raiseInputEvent) {
  if (!HAL_isQuirkOn(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS)) return;
  int32_t count = kMaxNumbers;
  HAL_getQuirkNumbers(HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS, nullptr, points_, &count);
  if (count >= 2) pairCount_ = count / 2;
}

bool HALPointerManager::filtered(int16_t x, int16_t y) const {
  for (int i = 0; i < pairCount_; ++i) {
    if (points_[2 * i] == x && points_[2 * i + 1] == y) return true;
  }
  return false;
}

void HALPointerManager::down(int16_t x, int16_t y) {
  if (filtered(x, y)) return;
  pressed_ = true;
  post(HAL_EVENT_POINTER_PRESSED, x, y);
}

void HALPointerManager::up(int16_t x, int16_t y) {
  if (filtered(x, y)) return;
  if (!pressed_) post(HAL_EVENT_POINTER_PRESSED, x, y);
  pressed_ = false;
  post(HAL_EVENT_POINTER_RELEASED, x, y);
}

void HALPointerManager::move(int16_t x, int16_t y) {
  if (!pressed_) post(HAL_EVENT_POINTER_PRESSED, x, y);
  pressed_ = true;
  post(HAL_EVENT_POINTER_DRAGGED, x, y);
}

void HALPointerManager::post(int type, int16_t x, int16_t y) {
  const uint32_t now = HAL_getTickCount();
  // The tick wraps: compare the time since the last event.
  if (now - lastTime_ < kSameEventTime && type == lastType_ && std::abs(x - lastX_) < kSameEventDistance &&
      std::abs(y - lastY_) < kSameEventDistance) {
    return;
  }
  lastType_ = type;
  lastX_ = x;
  lastY_ = y;
  lastTime_ = now;
  const intptr_t payload[2] = {x, y};
  sink_(type, 2, payload);
}
