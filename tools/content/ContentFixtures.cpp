#include "ContentFixtures.h"

#include "TextTableWriter.h"

namespace content::fixtures {

std::vector<PackResource> packResources() {
  return {{0, paletteImage().png}, {1, shortSound().wav}, {2, {}}};
}

PackFixture simplePack(int pack) {
  std::vector<PackResource> resources = packResources();
  return {pack, resources, simplePackFiles(pack, resources)};
}

PackFixture splitPack(int pack, int parts) {
  std::vector<PackResource> resources = packResources();
  return {pack, resources, writeChunkedPack(pack, resources, ChunkedPackLayout::split(parts))};
}

PackFixture fileTablePack(int pack) {
  std::vector<PackResource> resources = packResources();
  return {pack, resources, writeChunkedPack(pack, resources, ChunkedPackLayout::fileTable({-3, 1, -1}))};
}

ImageFixture paletteImage() {
  IndexedImage image{4, 3, {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 1, 1}, {0xFFFF0000, 0x00000000, 0x8000FF00, 0xFF0000FF}};
  return {image, writePng(image)};
}

RgbaImage rgbaImage() { return {2, 2, {0xFFFF0000, 0x00000000, 0x8000FF00, 0xFF0000FF}}; }

namespace {

// Glyph i's ink: every third pixel of its 4 x 6 cell, shifted by i.
IndexedImage glyphSheet() {
  IndexedImage sheet{32, 6, std::vector<uint8_t>(32 * 6), {0x00000000, 0xFFFFFFFF}};
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 32; ++x) sheet.indices[y * 32 + x] = (x + y + x / 4) % 3 == 0 ? 1 : 0;
  }
  return sheet;
}

}  // namespace

GlyphFontFixture eightGlyphFont(uint16_t sheetIndex) {
  GlyphFont font;
  font.sheet = sheetIndex;
  font.metrics = {8, 6, 3, 8, 1, false};
  const char16_t codes[] = {u' ', u'0', u'1', u'A', u'a', u'b', u'\u00E9', u'\u20AC'};
  for (int i = 0; i < 8; ++i) {
    Glyph g;
    g.code = codes[i];
    g.sheetX = static_cast<int16_t>(i * 4);
    g.width = 4;
    g.height = 6;
    g.yOffset = 1;
    g.xOffset = static_cast<int16_t>(i % 2);
    g.advance = 5;
    font.glyphs.push_back(g);
  }
  font.glyphs[0] = Glyph{u' ', 0, 0, 0, 0, 0, 0, 3, true};
  const IndexedImage sheet = glyphSheet();
  return {font, {sheet, writePng(sheet)}, writeGlyphFont(font)};
}

SpriteSetFixture spriteSet(uint16_t sheetIndex) {
  SpriteSet set;
  set.sheet = sheetIndex;
  set.sprites = {
      {-2, -3, 0, 0, 4, 3, 0, 0, false, 4, 3, false},
      {0, 0, 1, 1, 2, 2, -1, -1, true, 3, 3, false},
      {-300, 0, 3, 2, 1, 1, 0, 0, false, 0, 0, false},
      {0, 0, 0, 0, 0, 0, 0, 0, false, 0, 0, true},
      {1, 1, 0, 2, 4, 1, 0, 0, false, 0, 0, false},
  };
  set.attributes = {0, 1, 2, 3, 1};
  return {set, writeSpriteSet(set)};
}

AnimationSetFixture smallAnimationSet() {
  AnimationSet set;
  set.durations = {1, 4, 100};
  set.animations = {
      {-1, {{0, 0, 0, 1, 0, 0}, {1, 3, -2, 1, 0, 1}, {2, -4, 0, 2, 3, 0}}},
      {2, {{2, 0, 5, 0, 1, 0}}},
  };
  set.frames = {
      {{{0, 0, 0, 0}, {1, 4, -3, 2}}, {{0, 0, 8, 8, false, 0}, {2, -2, 4, 4, true, 1}}},
      {{{2, -1, 1, 1}}, {{-4, -8, 8, 16, false, 2}}},
      {{}, {}},
  };
  return {set, writeAnimationSet(set)};
}

AnimationSetFixture animationSetAtLimits() {
  AnimationSet set;
  for (int i = 0; i < 64; ++i) set.durations.push_back(i == 63 ? 65535 : 1 + i);
  set.frames.resize(1024);
  AnimationFrame& full = set.frames[0];
  for (int i = 0; i < 255; ++i) {
    full.parts.push_back({i % 2 ? 1023 : i, i % 2 ? -512 : 511, i % 2 ? 511 : -512, i % 4});
    full.boxes.push_back({i % 2 ? -1024 : 1023, i % 2 ? 1023 : -1024, 1023, 1023, i % 2 == 1, 31 - i % 32});
  }
  Animation longest{-32, {}};
  for (int i = 0; i < 1023; ++i) {
    longest.steps.push_back({i % 2 ? 1023 : 0, i % 2 ? -512 : 511, i % 2 ? 511 : -512, i % 64, i % 4, 3 - i % 4});
  }
  set.animations = {longest, {31, {{1023, 0, 0, 63, 3, 3}}}, {0, {}}};
  return {set, writeAnimationSet(set)};
}

namespace {

LevelFields barrierFields(int variantBits, uint32_t variant, uint32_t value, bool flag) {
  LevelFields f = {{variantBits, variant}, {16, value}, {1, flag ? 1u : 0u}};
  for (uint32_t p = 0; p < 5; ++p) f.push_back({16, value + p});
  return f;
}

}  // namespace

LevelFixture levelWithEveryBlock() {
  Level level;
  level.filler = true;
  level.header = LevelHeader{7, {{16, 120}, {16, 64}}};
  LevelMap map;
  map.p8 = 1;
  map.columns = 8;
  map.offset = -4097;
  map.p10a = 16;
  map.p10b = 16;
  map.extra = 3;
  map.palette = {1, 2, 9, 17, 128};
  map.width = 4;
  map.height = 3;
  map.cells = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5};
  level.map = map;
  LevelEntities entities;
  entities.rowLength = 4;
  entities.x0 = 0;
  entities.y0 = 0;
  entities.groups = {
      {1, {{1, 0, barrierFields(2, 3, 1000, true)}, {3, 2, barrierFields(2, 0, 7, false)}}},
      {4, {{0, 1, barrierFields(4, 15, 65531, true)}}},
      {2, {{2, 1, {{3, 5}, {1, 1}}}}},
      {12, {{0, 2, {}}, {3, 2, {}}}},
      {17, {{1, 1, {{2, 3}, {1, 0}}}, {1, 1, {{2, 1}, {1, 1}}}}},
  };
  level.entities = entities;
  return {level, writeLevel(level)};
}

namespace {

std::vector<std::u16string> shortTexts() {
  return {u"Play", u"", u"Caf\u00E9", u"5 \u20AC", u"07 levels", std::u16string(1, u'\0')};
}

}  // namespace

TextFixture translationTable16() {
  const std::vector<std::u16string> texts = shortTexts();
  return {texts, writeTranslationTable(texts)};
}

TextFixture translationTable32() {
  std::vector<std::u16string> texts = shortTexts();
  for (char16_t c : {u'x', u'\u00E9', u'\u20AC', u'y'}) texts.push_back(std::u16string(10000, c));
  return {texts, writeTranslationTable(texts)};
}

TextFixture canvasTextTable() {
  const std::vector<std::u16string> texts = shortTexts();
  return {texts, writeCanvasTextTable(texts)};
}

SoundFixture shortSound() {
  std::vector<int16_t> samples;
  for (int i = 0; i < 2000; ++i) samples.push_back(i / 10 % 2 ? 8000 : -8000);
  PcmSound sound{1, 8000, 16, pcm16(samples)};
  return {sound, writeWav(sound)};
}

}  // namespace content::fixtures
