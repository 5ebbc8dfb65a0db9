#include <gtest/gtest.h>

#include <array>

#include "GlyphFontWriter.h"
#include "SpriteSetWriter.h"
#include "TestBytes.h"

namespace content {
namespace {

// The sprite set as the engine's loader reads it, step by step.
struct ReadSet {
  int sheet = 0;
  uint16_t layout = 0;
  std::vector<std::array<int16_t, 10>> values;
  std::vector<int> attributes;
};

ReadSet readSpriteSet(const Bytes& b) {
  ReadSet r;
  size_t p = 0;
  auto u8 = [&] { return b.at(p++); };
  auto u16 = [&] { const int v = b.at(p) << 8 | b.at(p + 1); p += 2; return v; };
  r.sheet = u16();
  u8();
  const int blockLength = static_cast<int16_t>(u16());
  r.layout = static_cast<uint16_t>(u16());
  const int header = u16();
  const size_t block = p;
  p += blockLength - 4;
  const int n = header & 0x0FFF;
  if (header & 0x2000) {
    const int m = static_cast<int16_t>(u16());
    p += 5;
    for (int i = 0; i < n; ++i) r.attributes.push_back(b.at(p + i / 4) >> (2 * (i % 4)) & 3);
    p += m - 5;
  }
  EXPECT_EQ(p, b.size());
  int widths[10];
  int k = 5;
  const int groupOf[10] = {0, 0, 1, 1, 1, 1, 2, 2, 2, 2};
  for (int v = 0; v < 10; ++v) widths[v] = (r.layout >> groupOf[v] & 1) ? 0 : ((r.layout >> k++ & 1) ? 1 : 2);
  for (int i = 0; i < n; ++i) {
    std::array<int16_t, 10> rec{};
    size_t offset = block;
    for (int v = 0; v < 10; ++v) {
      if (widths[v] == 0) continue;
      const int s = widths[v] - 1;
      offset += static_cast<size_t>(i) << s;
      const bool isSigned = v == 0 || v == 1 || v == 6 || v == 7;
      if (widths[v] == 2) {
        rec[v] = static_cast<int16_t>(b.at(offset) << 8 | b.at(offset + 1));
      } else {
        rec[v] = isSigned ? static_cast<int8_t>(b.at(offset)) : b.at(offset);
      }
      offset += static_cast<size_t>(n - i) << s;
    }
    r.values.push_back(rec);
  }
  return r;
}

SpriteRecord sprite(int16_t x, int16_t sheetX, int16_t w, int16_t h) {
  SpriteRecord s;
  s.x = x;
  s.sheetX = sheetX;
  s.width = w;
  s.height = h;
  return s;
}

SpriteSet setOf(std::vector<SpriteRecord> sprites) {
  SpriteSet set;
  set.sprites = std::move(sprites);
  return set;
}

// Every sprite's ten values read back as written, whatever the layout.
void expectReadBack(const SpriteSet& set) {
  const ReadSet r = readSpriteSet(writeSpriteSet(set));
  ASSERT_EQ(r.values.size(), set.sprites.size());
  for (size_t i = 0; i < set.sprites.size(); ++i) EXPECT_EQ(r.values[i], spriteValues(set.sprites[i])) << i;
  std::vector<int> attributes(set.attributes.begin(), set.attributes.end());
  EXPECT_EQ(r.attributes, attributes);
}

TEST(SpriteSetWriter, NarrowestLayoutFollowsTheValueRanges) {
  SpriteRecord full = sprite(-1, 255, 1, 1);
  full.circle = true;
  full.boxWidth = 5;
  SpriteRecord wide = sprite(-129, 256, 300, 2);
  wide.boxY = 127;
  wide.boxHeight = -1;
  struct Case {
    std::vector<SpriteRecord> sprites;
    uint16_t layout;
  } cases[] = {
      {{}, 0x0007},
      {{sprite(0, 0, 1, 1)}, 0x0005 | 0x0F << 5},  // group 1 only, four one-byte columns
      {{sprite(-1, 255, 1, 1)}, 0x0004 | 0x3F << 5},          // x one byte signed, sheet x one byte unsigned
      {{full}, 0xFF << 5 | 1 << 14},  // all one byte but value 8: the circle flag needs two
      {{wide}, 1 << 6 | 1 << 8 | 1 << 10 | 1 << 11 | 1 << 12 | 1 << 13},  // -129, 256, 300, -1: two bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(narrowestSpriteLayout(c.sprites), c.layout) << std::hex << c.layout;
    expectReadBack(setOf(c.sprites));
  }
}

TEST(SpriteSetWriter, OneByteEntriesKeepTheirSignedness) {
  const Bytes b = writeSpriteSet(setOf({sprite(-1, 255, 1, 1)}));
  // sheet, dropped byte, block length 4 + 6, layout, count 1, then x, y, sheet x, sheet y, width, height.
  EXPECT_EQ(b, hexBytes("0000 00 000A 07E4 0001 FF 00 FF 00 01 01"));
}

TEST(SpriteSetWriter, ForcedLayoutZeroGivesTenTwoByteColumns) {
  SpriteSet set = setOf({sprite(1, 2, 3, 4), sprite(5, 6, 7, 8), sprite(9, 10, 11, 12)});
  set.layout = 0;
  const Bytes b = writeSpriteSet(set);
  const size_t block = 9;
  ASSERT_EQ(b.size(), block + 20 * 3);
  for (size_t i = 0; i < 3; ++i) {
    const auto values = spriteValues(set.sprites[i]);
    for (size_t v = 0; v < 10; ++v) {
      const size_t at = block + 2 * (v * 3 + i);
      EXPECT_EQ(static_cast<int16_t>(b[at] << 8 | b[at + 1]), values[v]) << i << " " << v;
    }
  }
  expectReadBack(set);
}

TEST(SpriteSetWriter, ForcedLayoutWithAbsentPositionTakesWidthBitsFromBitFive) {
  SpriteSet set = setOf({sprite(0, 200, 1, 1)});
  set.layout = 0x0001 | 1 << 5 | 1 << 6 | 0x0004;
  const Bytes b = writeSpriteSet(set);
  EXPECT_EQ(b, hexBytes("0000 00 000A 0065 0001 C8 00 0001 0001"));
  expectReadBack(set);
}

TEST(SpriteSetWriter, AttributesPackFourToAByteLowestPairFirst) {
  SpriteSet set = setOf(std::vector<SpriteRecord>(5, sprite(0, 0, 1, 1)));
  set.attributes = {0, 1, 2, 3, 2};
  const Bytes b = writeSpriteSet(set);
  EXPECT_EQ(b[7], 0x20);  // header word's high byte: attribute flag
  EXPECT_EQ(Bytes(b.end() - 9, b.end()), hexBytes("0007 00000000 00 E4 02"));
  expectReadBack(set);
}

TEST(SpriteSetWriter, DeclaredEmptySpriteHasNoSize) {
  SpriteRecord empty;
  empty.empty = true;
  expectReadBack(setOf({sprite(1, 0, 2, 2), empty}));
}

TEST(SpriteSetWriter, RefusesWhatTheLoaderCannotHold) {
  SpriteRecord undeclared = sprite(0, 0, 0, 8);
  SpriteRecord emptySized = sprite(0, 0, 1, 1);
  emptySized.empty = true;
  SpriteRecord negativeBox = sprite(0, 0, 1, 1);
  negativeBox.boxWidth = -1;
  SpriteSet narrow = setOf({sprite(0, 256, 1, 1)});
  narrow.layout = 0x0001 | 0x0F << 5;
  SpriteSet absent = setOf({sprite(3, 0, 1, 1)});
  absent.layout = 0x0007;
  SpriteRecord wide = sprite(-300, 300, 300, 300);
  wide.boxX = wide.boxY = wide.boxWidth = wide.boxHeight = 300;
  wide.y = 300;
  wide.sheetY = 300;
  SpriteSet sheet = setOf({});
  sheet.sheet = 1024;
  SpriteSet attributes = setOf({sprite(0, 0, 1, 1)});
  attributes.attributes = {4};
  SpriteSet attributeCount = setOf({sprite(0, 0, 1, 1)});
  attributeCount.attributes = {1, 1};
  expectRefusal([&] { writeSpriteSet(setOf({sprite(0, 0, 1, 1), undeclared})); }, "sprite 1");
  expectRefusal([&] { writeSpriteSet(setOf({emptySized})); }, "sprite 0");
  expectRefusal([&] { writeSpriteSet(setOf({negativeBox})); }, "sprite 0, box width");
  expectRefusal([&] { writeSpriteSet(narrow); }, "sprite 0, sheet x");
  expectRefusal([&] { writeSpriteSet(absent); }, "sprite 0, x");
  expectRefusal([&] { writeSpriteSet(setOf(std::vector<SpriteRecord>(4096, sprite(0, 0, 1, 1)))); }, "sprite count");
  expectRefusal([&] { writeSpriteSet(setOf(std::vector<SpriteRecord>(1700, wide))); }, "value block");
  expectRefusal([&] { writeSpriteSet(sheet); }, "sheet index");
  expectRefusal([&] { writeSpriteSet(attributes); }, "attribute 0");
  expectRefusal([&] { writeSpriteSet(attributeCount); }, "attributes");
}

TEST(SpriteSetWriter, LargestSetThatFitsTheBlockLength) {
  // 1638 sprites of ten two-byte values: 32760 bytes, the most below 32763.
  SpriteRecord wide = sprite(-300, 300, 300, 300);
  wide.y = wide.sheetY = wide.boxX = wide.boxY = wide.boxWidth = wide.boxHeight = 300;
  const Bytes b = writeSpriteSet(setOf(std::vector<SpriteRecord>(1638, wide)));
  EXPECT_EQ(b[3] << 8 | b[4], 32764);
}

// The glyph set as the engine's font prepares it: codes from the steps,
// real offsets moved into place.
struct PreparedGlyph {
  int code, x, y, advance, metric;
};

std::vector<PreparedGlyph> prepare(const Bytes& b) {
  std::vector<PreparedGlyph> glyphs;
  int code = 0;
  for (const auto& v : readSpriteSet(b).values) {
    code = static_cast<int16_t>(code + v[0] * 256 + (v[1] & 0xFF));
    glyphs.push_back({code & 0xFFFF, v[6], v[7], v[8] & 0x7FFF, v[9]});
  }
  return glyphs;
}

Glyph glyph(char16_t code, int16_t x, int16_t advance) {
  Glyph g;
  g.code = code;
  g.width = 4;
  g.height = 6;
  g.sheetX = static_cast<int16_t>(code % 64 * 4);
  g.xOffset = x;
  g.yOffset = -2;
  g.advance = advance;
  return g;
}

GlyphFont eightGlyphs() {
  GlyphFont font;
  font.sheet = 3;
  font.metrics = {12, 10, 5, 12, 1, true};
  for (char16_t c : {u'b', u'a', u' ', u'\u00E9', u'\u20AC', u'0', u'\uFFFF', u'1'}) font.glyphs.push_back(glyph(c, 1, 6));
  font.glyphs[2].empty = true;
  font.glyphs[2].width = font.glyphs[2].height = 0;
  return font;
}

TEST(GlyphFontWriter, GlyphsSortedAndDeltaCodedWithMetricsAndMarker) {
  const std::vector<PreparedGlyph> glyphs = prepare(writeGlyphFont(eightGlyphs()));
  const int codes[] = {' ', '0', '1', 'a', 'b', 0xE9, 0x20AC, 0xFFFF};
  const int metrics[] = {12, 10, 5, kGlyphsUnprepared, 12, 1, 1, 0};
  ASSERT_EQ(glyphs.size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(glyphs[i].code, codes[i]) << i;
    EXPECT_EQ(glyphs[i].metric, metrics[i]) << i;
    EXPECT_EQ(glyphs[i].x, 1);
    EXPECT_EQ(glyphs[i].y, -2);
    EXPECT_EQ(glyphs[i].advance, 6);
  }
  EXPECT_EQ(writeGlyphFont(eightGlyphs())[1], 3);
}

TEST(GlyphFontWriter, RefusesSetsTheFontCannotUse) {
  GlyphFont seven = eightGlyphs();
  seven.glyphs.resize(6);
  GlyphFont heights = eightGlyphs();
  heights.metrics.lineHeight = 13;
  GlyphFont twice = eightGlyphs();
  twice.glyphs[1].code = u'b';
  GlyphFont advance = eightGlyphs();
  advance.glyphs[0].advance = -1;
  expectRefusal([&] { writeGlyphFont(seven); }, "glyph count");
  expectRefusal([&] { writeGlyphFont(heights); }, "metrics");
  expectRefusal([&] { writeGlyphFont(twice); }, "glyph code 98");
  expectRefusal([&] { writeGlyphFont(advance); }, "glyph code 98, advance");
}

}  // namespace
}  // namespace content
