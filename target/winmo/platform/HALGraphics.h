#pragma once

#include <cstdint>

#include "HALStatus.h"

class RasterContext;
class RasterImage;
class RasterSurface;

// Drawing contexts over images, and the drawing that the raster library
// leaves to the platform: text with the native font, and the replacing
// draw mode.
//
// Ownership: a context from HAL_createGraphicsWithImage holds one reference
// to its image; HAL_deleteGraphics destroys it and drops the reference.
// Contexts are used only under the global VM lock.

// A context drawing into `image`. HAL_ILLEGAL_ARGUMENT_ERR for a null
// argument, HAL_OUT_OF_MEMORY_ERR when it cannot be made.
HALStatus HAL_createGraphicsWithImage(RasterContext** out, RasterImage* image);
// Destroys a context of either kind; null is ignored.
void HAL_deleteGraphics(RasterContext* context);

// Draws `count` UTF-16 units of `text` with the context's font (the
// default font when it has none) and colour, the top-left corner of the
// text at (x, y). The text's box is drawn like an opaque image: it follows
// the context's alpha and clip. On a target with an alpha plane only the
// glyphs are drawn, over the target, their coverage as their alpha.
void HAL_drawText(RasterContext* context, const char16_t* text, int32_t count, int32_t x, int32_t y);

// The replacing draw mode: colour and alpha of the target are replaced, not
// blended, so that a fill with alpha 0 leaves transparent pixels in an
// image with an alpha plane. In an opaque target only the colour changes.
// A fill of the rectangle with the context's colour and alpha.
void HAL_replaceRect(RasterContext* context, int32_t x, int32_t y, int32_t width, int32_t height);
// A blit as RasterContext::blit takes it (flags: the transform in bits 0..2,
// an alpha type in bits 8..15), copying colour and alpha of the source.
void HAL_replaceBlit(RasterContext* context, int32_t dstX, int32_t dstY, int32_t width, int32_t height,
                     const RasterSurface* source, int32_t srcX, int32_t srcY, int32_t flags);
