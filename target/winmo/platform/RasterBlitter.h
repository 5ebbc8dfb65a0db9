#pragma once

#include <cstdint>

#include "RasterRect.h"

class RasterSurface;

// Draws a region of one surface into another: the eight MIDP transforms,
// clipping, and the copy or blend rule of the source's alpha type under a
// global alpha.
//
// The clip and the transform are settled before any pixel moves: the
// clipped destination rectangle, the source pixel of its first corner and
// two steps through the source (per pixel and per row) are computed once,
// and one row kernel, chosen once per call, does the rest.
//
// A target with an alpha plane is drawn over (RasterPixels::over): each
// source pixel's effective alpha (the global alpha, or its plane alpha as
// the rules above scale it) composites colour and alpha. A pixel drawn
// over a clear or an opaque pixel of a transparent image then shows, when
// the image is drawn, exactly as if drawn straight onto the background.
class RasterBlitter {
 public:
  // Flags (HALTransform.h) bits 0..2: 1 takes source rows bottom-up, 2 takes columns right
  // to left, 4 swaps axes (destination x runs along source rows). Bits 8..15,
  // when 1..3, replace the source's alpha type (an alpha plane only when the
  // source has one). A source region outside `src` draws nothing.
  static void blit(RasterSurface* target, const RasterRect& clip, int32_t globalAlpha,
                   int32_t dstX, int32_t dstY, int32_t w, int32_t h, const RasterSurface* src,
                   int32_t srcX, int32_t srcY, int32_t flags);
};
