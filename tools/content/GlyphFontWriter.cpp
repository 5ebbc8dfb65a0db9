#include "GlyphFontWriter.h"

#include <algorithm>

#include "ContentError.h"

namespace content {

namespace {

constexpr size_t kMetricGlyphs = 7;

std::vector<int16_t> metricSlots(const GlyphMetrics& m) {
  require(m.height == m.lineHeight, "metrics", "height " + std::to_string(m.height) + " and line height " +
                                                   std::to_string(m.lineHeight) + " differ");
  return {m.height, m.baseline, m.missingAdvance, kGlyphsUnprepared, m.lineHeight, m.extraSpacing,
          static_cast<int16_t>(m.anchorByAdvance ? 1 : 0)};
}

}  // namespace

SpriteSet glyphFontSprites(const GlyphFont& font) {
  const std::vector<int16_t> metrics = metricSlots(font.metrics);
  require(font.glyphs.size() >= kMetricGlyphs, "glyph count",
          std::to_string(font.glyphs.size()) + " is fewer than the seven that carry the metrics");
  std::vector<Glyph> glyphs = font.glyphs;
  std::stable_sort(glyphs.begin(), glyphs.end(), [](const Glyph& a, const Glyph& b) { return a.code < b.code; });
  SpriteSet set;
  set.sheet = font.sheet;
  char16_t previous = 0;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const Glyph& g = glyphs[i];
    require(i == 0 || g.code != previous, "glyph code " + std::to_string(g.code), "appears twice");
    require(g.advance >= 0, "glyph code " + std::to_string(g.code) + ", advance", "negative");
    const int step = g.code - (i == 0 ? 0 : previous);
    set.sprites.push_back(SpriteRecord{
        .x = static_cast<int8_t>(step >> 8),
        .y = static_cast<int8_t>(step & 0xFF),
        .sheetX = g.sheetX,
        .sheetY = g.sheetY,
        .width = g.width,
        .height = g.height,
        .boxX = g.xOffset,
        .boxY = g.yOffset,
        .circle = false,
        .boxWidth = g.advance,
        .boxHeight = i < kMetricGlyphs ? metrics[i] : int16_t{0},
        .empty = g.empty,
    });
    previous = g.code;
  }
  return set;
}

Bytes writeGlyphFont(const GlyphFont& font) { return writeSpriteSet(glyphFontSprites(font)); }

}  // namespace content
