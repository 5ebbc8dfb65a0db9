#pragma once

// The game's two glyph sets, drawn at build time with FreeType from the
// misc-fixed bitmap fonts under fonts/ (PCF, gzip-compressed as the X
// fonts ship them).
//
// Each glyph is the ink of its character cropped from the font's cell and
// packed into a palette sheet: entry 0 transparent, entry 1 the ink, entry
// 2 an optional one-pixel outline around the ink. The metrics follow the
// engine font's conventions: height and line height are the font's cell
// height, the baseline its ascent, a character without a glyph advances by
// the cell width, and text is anchored by its advances.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "GlyphFontWriter.h"
#include "PngWriter.h"
#include "GameTexts.h"

namespace gamecontent {

struct GlyphStyle {
  uint32_t ink = 0xFF82451A;  // 0xAARRGGBB
  uint32_t outline = 0;       // 0: no outline
};

struct GlyphSetSource {
  int resourceId;
  int sheetIndex;       // the sheet image's index in the glyph set's pack
  const char* font;     // file name under fonts/
  GlyphStyle style;
};

// 0x4C01 (font slot 0: menus and texts) from 6x13 in dark brown, the
// colour of the boxes' texts; 0x4C00 (slot 1: the play counter) from the
// bold 9x18 in white with a dark brown outline, legible over any ground.
const std::vector<GlyphSetSource>& glyphSetSources();

struct BuiltGlyphSet {
  content::GlyphFont font;
  content::IndexedImage sheet;
};

// Draws the characters `codes` from the PCF font at `fontPath`; a
// character the font lacks is a ContentError.
BuiltGlyphSet buildGlyphSet(const std::filesystem::path& fontPath, const std::set<char16_t>& codes,
                            int sheetIndex, const GlyphStyle& style);

// What the glyph sets hold: every character of the tables (line breaks
// aside), the digits and " /-.".
std::set<char16_t> glyphCodes(const std::vector<TextTable>& tables);

}  // namespace gamecontent
