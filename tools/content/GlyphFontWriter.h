#pragma once

#include <cstdint>
#include <vector>

#include "ByteWriter.h"
#include "SpriteSetWriter.h"

namespace content {

// One glyph of a glyph font: the character it draws, its region of the
// sheet, where its ink stands from the pen (x) and from the line top (y),
// and how far the pen moves after it. A glyph without ink is declared
// empty (0 x 0).
struct Glyph {
  char16_t code = 0;
  int16_t sheetX = 0;
  int16_t sheetY = 0;
  int16_t width = 0;
  int16_t height = 0;
  int16_t xOffset = 0;
  int16_t yOffset = 0;
  int16_t advance = 0;  // 0..32767
  bool empty = false;
  bool operator==(const Glyph&) const = default;
};

// The font metrics that the first seven glyphs carry (the fourth carries
// the preparation marker instead). `height` and `lineHeight` must agree.
struct GlyphMetrics {
  int16_t height = 0;
  int16_t baseline = 0;
  int16_t missingAdvance = 0;  // the pen step for a character without a glyph
  int16_t lineHeight = 0;
  int16_t extraSpacing = 0;
  bool anchorByAdvance = false;  // anchor by the sum of advances, not the ink extent
  bool operator==(const GlyphMetrics&) const = default;
};

struct GlyphFont {
  uint16_t sheet = 0;  // index of the sheet image in the font's pack
  GlyphMetrics metrics;
  std::vector<Glyph> glyphs;  // at least seven, in any order, codes unique
  bool operator==(const GlyphFont&) const = default;
};

// The glyph marker metric slot of glyph 3 holds before preparation.
inline constexpr int16_t kGlyphsUnprepared = 255;

// The font as the sprite set the engine's font reads: glyphs sorted by
// code; x and y hold the high and low byte of the code's step from the
// previous glyph's code (from 0 for the first); box x and y hold the ink
// offsets, box width the advance and box height the metric slot (metrics
// 0 to 6 on glyphs 0 to 6, the marker 255 on glyph 3, 0 after).
SpriteSet glyphFontSprites(const GlyphFont& font);

// writeSpriteSet(glyphFontSprites(font)).
Bytes writeGlyphFont(const GlyphFont& font);

}  // namespace content
