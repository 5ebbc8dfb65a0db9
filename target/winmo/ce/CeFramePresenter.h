#pragma once

#include <cstdint>

#include "CeTypes.h"

// Hands finished frames of 16-bit pixels to the window backend. The stand-in's
// BitBlt from a memory DC holding a 16-bit bitmap into a window's DC ends
// here too, so the screen presentation may use either road.
//
// Pixels are RGB565 (red in the top five bits), `stride` counts pixels (not
// bytes) from one row to the next and is at least `width`. The frame lands
// at (x, y) of the window's client area, clipped to it; the window keeps the
// composed client image, and the whole image goes to the backend:
// - headless backend: the image is recorded (CeHeadlessBackend::lastFrame,
//   frames) for exact pixel checks;
// - SDL2 backend: the image is shown in the real window, scaled up by the
//   window's whole factor. From a thread other than the one that owns the
//   window it is kept and shown at that thread's next pass of the message
//   loop (which the call wakes).
// The caller keeps ownership of `pixels`; they are copied before the call
// returns.
class CeFramePresenter {
 public:
  CeFramePresenter() = delete;

  // False (nothing presented) for a null, destroyed or foreign window, null
  // pixels, a width or height below 1, or a stride below the width.
  static bool present(ce::HWND window, const uint16_t* pixels, int32_t width, int32_t height, int32_t stride,
                      int32_t x = 0, int32_t y = 0);
};
