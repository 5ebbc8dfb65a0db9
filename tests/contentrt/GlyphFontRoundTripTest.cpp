// Glyph fonts written by the glyph-font writer, read by the sprite-set
// loader and prepared by the engine's font: the font read back (each
// prepared glyph's code, ink offsets, advance, size and pixels, and the
// seven metrics) equals the description, for the eight-glyph fixture and
// for fonts at the edges of the delta-coded codes (steps of 255, 256,
// 0x8000 and more, codes 0 and U+FFFF), of the metric slots (two-byte
// metrics, negative ones, anchoring by advance) and of the offsets.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "Differences.h"
#include "GlyphFontWriter.h"
#include "RoundTrip.h"
#include "VMTestEnv.h"
#include "tq_Gob.h"
#include "tq_ResourcesExt.h"
#include "tq_util_text_RichFont.h"

using content::Glyph;
using content::GlyphFont;
using contentrt::caseName;
using tq::util::text::RichFont;

namespace {

// The font the engine made of the set: the prepared glyphs in set order
// and the metrics through the font's getters. Sheet positions are not
// kept by a glyph; they are taken from `written` and the pixels compared.
GlyphFont readBack(const VMPtr<RichFont>& font, const VMPtr<VMArray<tq::Gob>>& set, const GlyphFont& written,
                   const content::IndexedImage& sheet) {
  GlyphFont out;
  out.sheet = written.sheet;
  out.metrics = {static_cast<int16_t>(font->getHeight()),      static_cast<int16_t>(font->getBaselinePosition()),
                 0,                                            static_cast<int16_t>(font->getLineHeight()),
                 static_cast<int16_t>(font->getExtraSpacing()), font->alignsByAdvance() != 0};
  for (int32_t i = 0; i < set->length; ++i) {
    VMPtr<tq::Gob> g = set->get(i);
    Glyph glyph;
    glyph.code = static_cast<char16_t>(g->boxX);
    glyph.width = g->width;
    glyph.height = g->height;
    glyph.xOffset = g->x;
    glyph.yOffset = g->y;
    glyph.advance = g->boxWidth;
    glyph.empty = g->width == 0 && g->height == 0;
    // The glyph the font finds for the code is this one.
    EXPECT_EQ(font->getGlyph(glyph.code).get(), g.get()) << caseName("glyph", static_cast<size_t>(i));
    EXPECT_EQ(font->charWidth(glyph.code), glyph.advance) << caseName("glyph", static_cast<size_t>(i));
    for (const Glyph& w : written.glyphs) {
      if (w.code != glyph.code) continue;
      glyph.sheetX = w.sheetX;
      glyph.sheetY = w.sheetY;
      VMPtr<javax::microedition::lcdui::Image> image = g->image;
      if (w.empty) {
        EXPECT_FALSE(image) << caseName("glyph", static_cast<size_t>(i));
      } else if (image) {
        EXPECT_EQ(contentrt::surfaceColours(contentrt::pixels(image)),
                  contentrt::surfaceColours(contentrt::regionOf(sheet, w.sheetX, w.sheetY, w.width, w.height)))
            << caseName("glyph", static_cast<size_t>(i));
      } else {
        ADD_FAILURE() << caseName("glyph", static_cast<size_t>(i)) << " has no image";
      }
    }
    out.glyphs.push_back(glyph);
  }
  // The advance of a character without a glyph is metric 2.
  char16_t missing = 1;
  while (font->getGlyph(missing)) ++missing;
  out.metrics.missingAdvance = static_cast<int16_t>(font->charWidth(missing));
  return out;
}

// The description as the engine should give it back: glyphs by code.
GlyphFont sorted(GlyphFont font) {
  std::stable_sort(font.glyphs.begin(), font.glyphs.end(), [](const Glyph& a, const Glyph& b) { return a.code < b.code; });
  return font;
}

void expectRoundTrip(const GlyphFont& font, const content::IndexedImage& sheet, const std::string& what) {
  SCOPED_TRACE(what);
  std::vector<content::PackResource> resources(static_cast<size_t>(font.sheet) + 2);
  resources[font.sheet] = {-3, content::writePng(sheet)};
  resources.back() = {0, content::writeGlyphFont(font)};
  contentrt::loadPack(resources);
  VMPtr<VMArray<tq::Gob>> set = tq::ResourcesExt::getGobs(static_cast<int32_t>(resources.size()) - 1);
  ASSERT_EQ(set->length, static_cast<int32_t>(font.glyphs.size()));
  EXPECT_EQ(set->get(3)->boxHeight, content::kGlyphsUnprepared);
  VMPtr<RichFont> richFont = RichFont::_VM_new();
  richFont->_VM_init();
  richFont->setGlyphs(set);
  EXPECT_EQ(set->get(3)->boxHeight, 0);  // prepared
  const GlyphFont read = readBack(richFont, set, font, sheet);
  EXPECT_TRUE(read == sorted(font)) << contentrt::difference(read, sorted(font));
}

Glyph glyph(char16_t code, int sx, int w, int h, int xOffset, int yOffset, int advance) {
  return {code,
          static_cast<int16_t>(sx),
          1,
          static_cast<int16_t>(w),
          static_cast<int16_t>(h),
          static_cast<int16_t>(xOffset),
          static_cast<int16_t>(yOffset),
          static_cast<int16_t>(advance),
          false};
}

TEST(GlyphFontRoundTrip, TheFontReadsBackAsWritten) {
  VMTestEnv::start();
  const content::fixtures::GlyphFontFixture fixture = content::fixtures::eightGlyphFont();
  expectRoundTrip(fixture.font, fixture.sheet.image, "the eight-glyph fixture");
  const content::IndexedImage sheet = contentrt::distinctSheet(300, 12);
  struct Case {
    std::string what;
    GlyphFont font;
  };
  std::vector<Case> cases;
  // Code steps of one byte, of 255 and 256, past 0x7FFF (the high byte
  // read as a negative offset) and up to U+FFFF; code 0 first.
  cases.push_back({"code steps at the byte edges",
                   {0,
                    {9, 7, 4, 9, 0, false},
                    {glyph(0, 0, 2, 2, 0, 0, 3), glyph(u'a', 2, 3, 4, 1, 2, 4), glyph(u'a' + 255, 5, 1, 1, 0, 0, 1),
                     glyph(u'a' + 511, 6, 2, 2, -1, -2, 2), glyph(u'a' + 511 + 0x8000, 8, 3, 3, 0, 0, 3),
                     glyph(0xFFFE, 11, 1, 5, 2, 3, 5), glyph(0xFFFF, 12, 4, 4, 0, 0, 0)}}});
  // Metrics of two bytes and negative ones, anchoring by advance; the
  // glyphs given out of order with an empty one.
  cases.push_back({"two-byte and negative metrics, unsorted glyphs",
                   {0,
                    {300, -2, 256, 300, -129, true},
                    {glyph(u'z', 0, 5, 5, -128, 127, 32767), glyph(u'A', 20, 6, 6, 127, -128, 0),
                     Glyph{u' ', 0, 0, 0, 0, 0, 0, 4, true}, glyph(u'\u00E9', 40, 2, 9, -129, 128, 256),
                     glyph(u'\u20AC', 40, 255, 3, 0, 0, 255), glyph(u'0', 0, 1, 1, 0, 0, 1), glyph(u'1', 1, 1, 1, 0, 0, 1),
                     glyph(u'2', 2, 1, 1, 0, 0, 1)}}});
  // Many glyphs: the search over them finds each.
  {
    Case many{"300 glyphs", {7, {12, 10, 6, 12, 0, false}, {}}};
    for (int i = 0; i < 300; ++i) {
      many.font.glyphs.push_back(glyph(static_cast<char16_t>(0x20 + i * 211 % 0xFF00), i % 290, 1 + i % 3, 1 + i % 4, i % 5 - 2, i % 7, i % 9));
    }
    cases.push_back(many);
  }
  for (const Case& c : cases) expectRoundTrip(c.font, sheet, c.what);
}

}  // namespace
