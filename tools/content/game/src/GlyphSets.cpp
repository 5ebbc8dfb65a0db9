#include "GlyphSets.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>

#include "ContentError.h"

namespace gamecontent {

using content::require;

const std::vector<GlyphSetSource>& glyphSetSources() {
  static const std::vector<GlyphSetSource> sources = {
      {0x4C00, 2, "9x18B-ISO8859-1.pcf.gz", {0xFFFFFFFF, 0xFF82451A}},
      {0x4C01, 3, "6x13-ISO8859-1.pcf.gz", {0xFF82451A, 0}},
  };
  return sources;
}

std::set<char16_t> glyphCodes(const std::vector<TextTable>& tables) {
  std::set<char16_t> codes;
  for (const TextTable& t : tables) {
    for (const std::u16string& text : t.texts) {
      for (char16_t c : text) {
        if (c != u'\n') codes.insert(c);
      }
    }
  }
  for (char16_t c : std::u16string(u"0123456789/ -.")) codes.insert(c);
  return codes;
}

namespace {

constexpr int kSheetWidth = 256;

// One glyph's ink as palette indices, before it is placed on the sheet.
struct Ink {
  int width = 0;
  int height = 0;
  int left = 0;  // from the pen
  int top = 0;   // from the line top
  std::vector<uint8_t> pixels;
};

struct FreeTypeFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~FreeTypeFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

// The set bits of the rendered glyph, cropped to their bounds.
Ink cropInk(const FT_GlyphSlot slot, int ascent) {
  const FT_Bitmap& b = slot->bitmap;
  auto bit = [&](int x, int y) { return (b.buffer[y * b.pitch + (x >> 3)] >> (7 - (x & 7))) & 1; };
  int x0 = static_cast<int>(b.width), y0 = static_cast<int>(b.rows), x1 = -1, y1 = -1;
  for (int y = 0; y < static_cast<int>(b.rows); ++y) {
    for (int x = 0; x < static_cast<int>(b.width); ++x) {
      if (!bit(x, y)) continue;
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  }
  Ink ink;
  if (x1 < 0) return ink;
  ink.width = x1 - x0 + 1;
  ink.height = y1 - y0 + 1;
  ink.left = slot->bitmap_left + x0;
  ink.top = ascent - slot->bitmap_top + y0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) ink.pixels.push_back(static_cast<uint8_t>(bit(x, y)));
  }
  return ink;
}

// The ink grown by one pixel on every side, the new pixels next to ink
// (in any of the eight directions) becoming outline (index 2).
Ink outlined(const Ink& ink) {
  Ink out{ink.width + 2, ink.height + 2, ink.left - 1, ink.top - 1, {}};
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0);
  auto inkAt = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < ink.width && y < ink.height && ink.pixels[y * ink.width + x] != 0;
  };
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) near = near || inkAt(x - 1 + dx, y - 1 + dy);
      out.pixels[y * out.width + x] = inkAt(x - 1, y - 1) ? 1 : (near ? 2 : 0);
    }
  }
  return out;
}

}  // namespace

BuiltGlyphSet buildGlyphSet(const std::filesystem::path& fontPath, const std::set<char16_t>& codes,
                            int sheetIndex, const GlyphStyle& style) {
  const std::string name = fontPath.filename().string();
  FreeTypeFace ft;
  require(FT_Init_FreeType(&ft.library) == 0, name, "FreeType cannot start");
  require(FT_New_Face(ft.library, fontPath.c_str(), 0, &ft.face) == 0, name, "is not a font FreeType reads");
  require(ft.face->num_fixed_sizes > 0 && FT_Select_Size(ft.face, 0) == 0, name, "has no bitmap size");
  const FT_Size_Metrics& m = ft.face->size->metrics;
  const int ascent = static_cast<int>(m.ascender >> 6);
  const int height = static_cast<int>(m.height >> 6);
  const int cellWidth = static_cast<int>(m.max_advance >> 6);

  BuiltGlyphSet built;
  built.font.sheet = static_cast<uint16_t>(sheetIndex);
  built.font.metrics = {.height = static_cast<int16_t>(height), .baseline = static_cast<int16_t>(ascent),
                        .missingAdvance = static_cast<int16_t>(cellWidth), .lineHeight = static_cast<int16_t>(height),
                        .extraSpacing = 0, .anchorByAdvance = true};
  std::vector<Ink> inks;
  for (char16_t code : codes) {
    const std::string item = name + ", character U+" + std::to_string(static_cast<int>(code));
    const FT_UInt index = FT_Get_Char_Index(ft.face, code);
    require(index != 0, item, "the font has no glyph for it");
    require(FT_Load_Glyph(ft.face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0, item, "cannot be drawn");
    require(ft.face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO, item, "is not a one-bit bitmap");
    Ink ink = cropInk(ft.face->glyph, ascent);
    if (ink.width > 0 && style.outline != 0) ink = outlined(ink);
    built.font.glyphs.push_back(content::Glyph{.code = code, .advance = static_cast<int16_t>(
                                                                  ft.face->glyph->advance.x >> 6)});
    inks.push_back(std::move(ink));
  }

  // Shelf packing: glyphs left to right in rows of the sheet's width, one
  // pixel apart so that no glyph's region touches a neighbour's ink.
  int x = 0, y = 0, rowHeight = 0;
  for (size_t i = 0; i < inks.size(); ++i) {
    content::Glyph& g = built.font.glyphs[i];
    const Ink& ink = inks[i];
    if (ink.width == 0) {
      g.empty = true;
      continue;
    }
    if (x + ink.width > kSheetWidth) x = 0, y += rowHeight + 1, rowHeight = 0;
    g.sheetX = static_cast<int16_t>(x), g.sheetY = static_cast<int16_t>(y);
    g.width = static_cast<int16_t>(ink.width), g.height = static_cast<int16_t>(ink.height);
    g.xOffset = static_cast<int16_t>(ink.left), g.yOffset = static_cast<int16_t>(ink.top);
    x += ink.width + 1;
    rowHeight = std::max(rowHeight, ink.height);
  }
  content::IndexedImage& sheet = built.sheet;
  sheet.width = kSheetWidth;
  sheet.height = y + rowHeight;
  sheet.indices.assign(static_cast<size_t>(sheet.width) * sheet.height, 0);
  sheet.palette = {0x00000000, style.ink};
  if (style.outline != 0) sheet.palette.push_back(style.outline);
  for (size_t i = 0; i < inks.size(); ++i) {
    const content::Glyph& g = built.font.glyphs[i];
    for (int r = 0; r < inks[i].height; ++r) {
      for (int c = 0; c < inks[i].width; ++c) {
        sheet.indices[(g.sheetY + r) * sheet.width + g.sheetX + c] = inks[i].pixels[r * inks[i].width + c];
      }
    }
  }
  return built;
}

}  // namespace gamecontent
