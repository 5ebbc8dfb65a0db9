#pragma once

#include <cstdint>

#include "HALStatus.h"

// The display orientation. Interface codes (HAL_getOrientation,
// HAL_setOrientation, TqBrume): 0 none (no orientation forced), 1 normal,
// 2 90°, 3 180°, 4 270°. Inside, 0 normal, 1 90°, 2 180°, 3 270°, 4 none;
// interface code c is inside code (c + 4) mod 5 (0 -> 4, 1 -> 0, ... 4 -> 3).
//
// A table maps each inside orientation to the one really applied, from the
// system properties "WinceDisplayOrientation0/90/180/270" ("normal",
// "rotate90ccw", "rotate180", "rotate90cw"; anything else keeps the
// identity), for phones whose display reports its rotations differently.

// Start-up: reads the table.
void HAL_initOrientation();
// The current orientation as an interface code in *out; HAL_OK, or
// HAL_ILLEGAL_ARGUMENT_ERR for a null `out`.
HALStatus HAL_getOrientation(int32_t* out);
// Requests an orientation: HAL_OK, or HAL_BAD_ORIENTATION_ERR for a code
// outside 0..4 or when the display refuses. 0 (none) changes nothing.
HALStatus HAL_setOrientation(int32_t code);
// After a size or settings change: applies the requested orientation again
// when the display left it.
void HAL_reapplyOrientation();
// Private message 1028: sets the display to the system orientation value.
void HAL_applySystemOrientation(int32_t systemValue);
