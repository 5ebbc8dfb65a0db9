// The two glyph sets drawn from the committed misc-fixed fonts: every
// character of the five tables and of the counter has a glyph with ink,
// the metrics follow the engine font's conventions, and every glyph's
// region lies on its sheet without overlapping another.

#include <gtest/gtest.h>

#include <fstream>

#include "ContentError.h"
#include "GameTexts.h"
#include "GlyphSets.h"
#include "Manifest.h"

namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";

struct Built {
  gamecontent::GlyphSetSource source;
  gamecontent::BuiltGlyphSet set;
};

std::vector<Built> buildAll() {
  const auto codes = gamecontent::glyphCodes(gamecontent::readTables(kGame));
  std::vector<Built> all;
  for (const auto& s : gamecontent::glyphSetSources()) {
    all.push_back({s, gamecontent::buildGlyphSet(kGame / "fonts" / s.font, codes, s.sheetIndex, s.style)});
  }
  return all;
}

TEST(GlyphSets, EveryCharacterOfTheTablesAndTheCounterHasAGlyph) {
  const auto tables = gamecontent::readTables(kGame);
  std::u16string needed = u"0123456789/ -.";
  for (const auto& t : tables)
    for (const auto& text : t.texts) needed += text;
  for (const Built& b : buildAll()) {
    std::map<char16_t, const content::Glyph*> byCode;
    for (const auto& g : b.set.font.glyphs) byCode[g.code] = &g;
    for (char16_t c : needed) {
      if (c == u'\n') continue;
      const auto it = byCode.find(c);
      ASSERT_NE(it, byCode.end()) << b.source.font << " lacks U+" << std::hex << int(c);
      EXPECT_GT(it->second->advance, 0) << int(c);
      // Only the space is without ink.
      EXPECT_EQ(it->second->empty, c == u' ') << b.source.font << " U+" << std::hex << int(c);
    }
  }
}

TEST(GlyphSets, MetricsFollowTheFontConventions) {
  const auto all = buildAll();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].source.resourceId, 0x4C00);
  EXPECT_EQ(all[1].source.resourceId, 0x4C01);
  // 0x4C01 is the 6x13 menu face; 0x4C00 the larger counter face.
  EXPECT_EQ(all[1].set.font.metrics.height, 13);
  EXPECT_GT(all[0].set.font.metrics.height, all[1].set.font.metrics.height);
  for (const Built& b : all) {
    const auto& m = b.set.font.metrics;
    EXPECT_EQ(m.height, m.lineHeight);
    EXPECT_GT(m.baseline, 0);
    EXPECT_LT(m.baseline, m.height);
    EXPECT_GT(m.missingAdvance, 0);
    EXPECT_TRUE(m.anchorByAdvance);
    EXPECT_EQ(b.set.font.sheet, b.source.sheetIndex);
    EXPECT_GE(b.set.font.glyphs.size(), 7u);
    for (const auto& g : b.set.font.glyphs) {
      if (g.empty) continue;
      // The ink stays within a line, give or take the outline's pixel.
      EXPECT_GE(g.yOffset, -1) << int(g.code);
      EXPECT_LE(g.yOffset + g.height, m.height + 1) << int(g.code);
    }
  }
}

TEST(GlyphSets, GlyphRegionsLieOnTheSheetApart) {
  for (const Built& b : buildAll()) {
    const auto& sheet = b.set.sheet;
    std::vector<int> owner(sheet.indices.size(), -1);
    for (size_t i = 0; i < b.set.font.glyphs.size(); ++i) {
      const auto& g = b.set.font.glyphs[i];
      if (g.empty) continue;
      ASSERT_LE(g.sheetX + g.width, sheet.width);
      ASSERT_LE(g.sheetY + g.height, sheet.height);
      bool ink = false;
      for (int y = g.sheetY; y < g.sheetY + g.height; ++y) {
        for (int x = g.sheetX; x < g.sheetX + g.width; ++x) {
          EXPECT_EQ(owner[y * sheet.width + x], -1) << "glyphs overlap at " << x << "," << y;
          owner[y * sheet.width + x] = static_cast<int>(i);
          ink = ink || sheet.indices[y * sheet.width + x] == 1;
        }
      }
      EXPECT_TRUE(ink) << int(g.code);
    }
    // Transparent ground, the style's ink (and outline).
    ASSERT_GE(sheet.palette.size(), 2u);
    EXPECT_EQ(sheet.palette[0] >> 24, 0u);
    EXPECT_EQ(sheet.palette[1], b.source.style.ink);
  }
}

TEST(GlyphSets, TheManifestGivesEachSetItsSheet) {
  const content::Manifest manifest = content::readManifest(kGame / "manifest.txt");
  for (const auto& s : gamecontent::glyphSetSources()) {
    const content::ManifestResource* r = manifest.find(s.resourceId);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->kind, content::ResourceKind::GlyphSet);
    EXPECT_EQ(r->sheet, s.sheetIndex);
    EXPECT_EQ(r->empty, std::set<int>{0x20});
    const content::ManifestResource* sheet = manifest.find((s.resourceId & ~0x3FF) | s.sheetIndex);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->kind, content::ResourceKind::Image);
  }
}

TEST(GlyphSets, AMissingCharacterOrFontIsRefused) {
  const auto& s = gamecontent::glyphSetSources()[1];
  // U+4E00 is not in an ISO 8859-1 font.
  EXPECT_THROW(gamecontent::buildGlyphSet(kGame / "fonts" / s.font, {u'A', u'\u4E00'}, 3, s.style),
               content::ContentError);
  EXPECT_THROW(gamecontent::buildGlyphSet(kGame / "texts/en.txt", {u'A'}, 3, s.style), content::ContentError);
}

}  // namespace
