#pragma once

#include <cstdint>

// Key codes, game actions and key names of the MIDP canvas, and the latched
// game-action states of a game canvas.
//
// A key code is the character a key produced, or for keys without one a
// negative code (-1 up, -2 down, -3 left, -4 right, -5 select, -6/-7 the
// soft keys, ...); digits are '0'..'9'. Game actions: 1 UP, 2 LEFT, 5 RIGHT,
// 6 DOWN, 8 FIRE; every other code has none (0).

// The key code of virtual key `vk`. With `wheel` (the key came from the
// optical mouse's wheel) the arrow and select keys give the wheel codes
// -24..-28.
int32_t HAL_translateVirtualKey(uint32_t vk, bool wheel);

int32_t HAL_getGameAction(int32_t keyCode);
// The key code of a game action, 0 for none.
int32_t HAL_getKeyCode(int32_t gameAction);

// Room for the longest key name.
constexpr int32_t HAL_KEY_NAME_CAPACITY = 16;
// Writes the key's name (not terminated; empty for keys without one) to
// `buffer`, which has room for HAL_KEY_NAME_CAPACITY characters, and its
// length to *outLength (when given). Returns the length.
int32_t HAL_getKeyName(int32_t keyCode, char16_t* buffer, int32_t* outLength);

// The game-action masks: bit (1 << action) of a key pressed or released
// since the last HAL_getKeyStates. A press after a release not yet read
// cancels that release, so a key pressed again stays down.
void HAL_noteGameAction(int32_t keyCode, bool pressed);
// The pressed mask; then the released keys leave the pressed mask and the
// released mask is cleared.
uint32_t HAL_getKeyStates();
