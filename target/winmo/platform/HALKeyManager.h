#pragma once

#include <cstdint>

#include "HALInputEvents.h"

// Turns the window's key messages into key events (pressed 8, released 9,
// repeated 10, payload: the key code) and keeps the game-action masks.
//
// A key's code is the character it produced (the WM_CHAR that arrived just
// before its key-down, remembered per key and shift state for its later
// messages), else its translated virtual key. Auto-repeat: once repeating
// has begun (two repeat messages of one key in a row), repeats within
// 100 ms of its start are dropped. A key-up without a recorded press first
// raises the press. Main thread only.
class HALKeyManager {
 public:
  // `wheelKey` tells whether an up or down key message came from the
  // optical mouse's wheel (null: no such device).
  using WheelTest = bool (*)(uint32_t vk, uint32_t scanCode);
  explicit HALKeyManager(HALInputSink sink = HAL_raiseInputEvent, WheelTest wheelKey = nullptr);

  void keyDown(uint32_t vk, intptr_t lParam);
  void keyUp(uint32_t vk, intptr_t lParam);
  // A WM_CHAR: kept for the next key message unless one is kept already.
  void character(uint32_t c);

 private:
  static constexpr uint32_t kRepeatDelay = 100;
  static constexpr uint32_t kShift = 16;

  bool isWheel(uint32_t vk, intptr_t lParam) const;
  void post(uint32_t vk, bool pressed, int type, bool shifted, bool wheel);

  HALInputSink sink_;
  WheelTest wheelKey_;
  // 0 up, 1 down with shift, 2 down without.
  uint8_t status_[256] = {};
  uint32_t plainChars_[256] = {};
  uint32_t shiftedChars_[256] = {};
  uint32_t pending_ = 0;
  bool repeatMode_ = false;
  uint32_t repeatStart_ = 0;
  uint32_t lastKey_ = 0;
  uint32_t lastTime_ = 0;
  bool down_ = false;
  bool lastRepeatBit_ = false;
};
