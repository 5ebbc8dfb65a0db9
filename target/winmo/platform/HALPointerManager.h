#pragma once

#include <cstdint>

#include "HALInputEvents.h"

// Turns the window's stylus messages into pointer events (pressed 11,
// released 12, dragged 13; payload x, y). A release or drag without a
// press first raises the press. An event of the same type as the last one,
// within 30 ms of it and less than 5 pixels away on both axes, is dropped.
// On phones with the pointer quirk, presses and releases at the quirk's
// screen points are dropped. Main thread only.
class HALPointerManager {
 public:
  // Reads the pointer quirk's points when the quirk is on.
  explicit HALPointerManager(HALInputSink sink = HAL_raiseInputEvent);

  // Coordinates are the signed 16-bit halves of the message.
  void down(int16_t x, int16_t y);
  void up(int16_t x, int16_t y);
  void move(int16_t x, int16_t y);

 private:
  static constexpr int kMaxNumbers = 16;
  static constexpr uint32_t kSameEventTime = 30;
  static constexpr int kSameEventDistance = 5;

  bool filtered(int16_t x, int16_t y) const;
  void post(int type, int16_t x, int16_t y);

  HALInputSink sink_;
  int lastType_ = 0;
  int16_t lastX_ = 0;
  int16_t lastY_ = 0;
  uint32_t lastTime_ = 0;
  int pairCount_ = 0;
  int32_t points_[kMaxNumbers] = {};
  bool pressed_ = false;
};
