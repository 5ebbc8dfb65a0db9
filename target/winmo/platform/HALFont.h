#pragma once

#include <cstdint>

#include "HALStatus.h"

class CeFont;

// Native fonts and their process-wide cache.
//
// A font is chosen by the MIDP face, style and size codes. The cache has
// one slot for every face, size and combination of style bits (bold,
// italic, underlined), so a bold italic font is its own font and never the
// one first made for bold alone. A slot's record is made on first use and
// lives until HAL_freeFontCache at shutdown; callers never free a record.
//
// Faces: FACE_MONOSPACE (32) is "Courier New", every other face "Tahoma";
// bold selects the face's bold weight. Sizes in points: SIZE_MEDIUM (0) 9,
// SIZE_LARGE (16) 12, SIZE_SMALL (8) and anything else 7; the pixel height
// is points x kFontDotsPerInch / 72, truncated.
//
// The cache is used only by threads that hold the global VM lock.
struct HALFont {
  CeFont* font;     // owned by the cache
  int32_t height;   // ascent + descent + external leading
  int32_t ascent;   // the baseline's distance from the top
};

constexpr int32_t kFontDotsPerInch = 96;

// Makes the empty cache; calling it again keeps the cache it has.
// HAL_OUT_OF_MEMORY_ERR when it cannot be made.
HALStatus HAL_initFontCache();

// Frees every record and the cache. Fonts handed out before are invalid.
void HAL_freeFontCache();

// The record for (face, style, size) in *font, made on first use (the cache
// is made first if start-up has not). HAL_ILLEGAL_ARGUMENT_ERR for a null
// `font` or when no font can be made for the slot.
HALStatus HAL_getFont(HALFont** font, int32_t face, int32_t style, int32_t size);

// The width in pixels of `count` UTF-16 units of `text` in `font`; 0 for a
// null font or text or a count below 1.
int32_t HAL_getTextWidth(HALFont* font, const char16_t* text, int32_t count);
