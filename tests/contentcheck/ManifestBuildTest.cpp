// The manifest and its sources: every kind built from a source file or a
// generator gives the writers' bytes for what the source describes, the
// built folder passes the validator, and bad manifests, descriptions, text
// files and BMPs are refused naming their file and line.

#include <gtest/gtest.h>

#include <sstream>

#include "BmpReader.h"
#include "CheckFolder.h"
#include "ContentError.h"
#include "ContentFixtures.h"
#include "ContentGenerators.h"
#include "Descriptions.h"
#include "ManifestBuilder.h"
#include "TextTableWriter.h"
#include "VMTestEnv.h"

JME_CONTENT_GENERATOR(test_panel)(const content::ManifestResource&) { return contentcheck::panelSet(); }

JME_CONTENT_GENERATOR(test_bytes)(const content::ManifestResource& r) {
  const std::string text = r.options.at("arg.text");
  return content::Bytes(text.begin(), text.end());
}

namespace contentcheck {
namespace {

using namespace content;

void put16le(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32le(Bytes& b, uint32_t v) {
  put16le(b, v & 0xFFFF);
  put16le(b, v >> 16);
}

// A plain BMP: `pixels` holds the rows top first, `bits` / 8 bytes a pixel
// (blue, green, red[, alpha]) or one palette index; rows are stored
// bottom-up unless `topDown`.
Bytes bmp(int width, int height, int bits, const Bytes& pixels, const std::vector<uint32_t>& palette = {},
          bool topDown = false, uint32_t compression = 0) {
  const size_t rowBytes = (static_cast<size_t>(width) * bits / 8 + 3) / 4 * 4;
  const uint32_t offset = 54 + 4 * static_cast<uint32_t>(palette.size());
  Bytes out = {'B', 'M'};
  put32le(out, offset + static_cast<uint32_t>(rowBytes * height));
  put32le(out, 0);
  put32le(out, offset);
  put32le(out, 40);
  put32le(out, static_cast<uint32_t>(width));
  put32le(out, static_cast<uint32_t>(topDown ? -height : height));
  put16le(out, 1);
  put16le(out, static_cast<uint32_t>(bits));
  put32le(out, compression);
  put32le(out, static_cast<uint32_t>(rowBytes * height));
  put32le(out, 0);
  put32le(out, 0);
  put32le(out, static_cast<uint32_t>(palette.size()));
  put32le(out, 0);
  for (uint32_t c : palette) put32le(out, c & 0xFFFFFF);
  const size_t pixelBytes = static_cast<size_t>(width) * bits / 8;
  for (int i = 0; i < height; ++i) {
    const int y = topDown ? i : height - 1 - i;
    out.insert(out.end(), pixels.begin() + static_cast<long>(y * pixelBytes), pixels.begin() + static_cast<long>((y + 1) * pixelBytes));
    out.resize(out.size() + rowBytes - pixelBytes, 0);
  }
  return out;
}

const char kSprites[] = R"(# a hero and its cells
sprite -2 -3 0 0 4 3 0 0 4 3 attr=1
sprite 0 0 1 1 2 2 -1 -1 3 3 circle
grid 2 2 1 2 1 1
sprite 0 0 0 0 0 0 0 0 0 0   # declared empty by the manifest
)";

SpriteSet expectedSprites() {
  SpriteSet set;
  set.sheet = 0;
  set.sprites = {{-2, -3, 0, 0, 4, 3, 0, 0, false, 4, 3, false},
                 {0, 0, 1, 1, 2, 2, -1, -1, true, 3, 3, false},
                 {1, 1, 0, 0, 2, 1, 0, 0, false, 0, 0, false},
                 {1, 1, 2, 0, 2, 1, 0, 0, false, 0, 0, false},
                 {0, 0, 0, 0, 0, 0, 0, 0, false, 0, 0, true}};
  set.attributes = {1, 0, 0, 0, 0};
  return set;
}

const char kFont[] =
    "metrics 8 6 3 8 1 0\n"
    "glyph U+0020 0 0 0 0 0 0 3\n"
    "glyph \xE2\x82\xAC 28 0 4 6 1 1 5\n"  // the euro sign, in UTF-8
    "glyph A 12 0 4 6 1 1 5\n"
    "glyph 0 4 0 4 6 1 1 5\n"
    "glyph 1 8 0 4 6 0 1 5\n"
    "glyph a 16 0 4 6 0 1 5\n"
    "glyph b 20 0 4 6 1 1 5\n"
    "glyph u+00e9 24 0 4 6 0 1 5\n";

GlyphFont expectedFont() {
  GlyphFont font;
  font.sheet = 2;
  font.metrics = {8, 6, 3, 8, 1, false};
  font.glyphs = {{u' ', 0, 0, 0, 0, 0, 0, 3, true},   {u'\u20AC', 28, 0, 4, 6, 1, 1, 5, false},
                 {u'A', 12, 0, 4, 6, 1, 1, 5, false}, {u'0', 4, 0, 4, 6, 1, 1, 5, false},
                 {u'1', 8, 0, 4, 6, 0, 1, 5, false},  {u'a', 16, 0, 4, 6, 0, 1, 5, false},
                 {u'b', 20, 0, 4, 6, 1, 1, 5, false}, {u'\u00E9', 24, 0, 4, 6, 0, 1, 5, false}};
  return font;
}

const char kAnims[] = R"(durations 1 4 100
frame
part 0 0 0
part 1 4 -3 2
box 0 0 8 8 0
box 2 -2 4 4 1 circle
frame
part 2 -1 1 1
box -4 -8 8 16 2
frame
animation -1
step 0 0 0 1
step 1 3 -2 1 blend=1
step 2 -4 0 2 priority=3
animation 2
step 2 0 5 0 priority=1
)";

const char kLevel[] = R"(filler on
header 7 16:120 16:64
map 1 8 -4097 16 16 extra=3
palette 1 2 9 17 128
size 4 3
row 0 1 2 3
row 4 5 0 1
row 2 3 4 5
entities 4 0 0
group 1
entity 1 0 2:3 16:1000 1:1
entity 3 2 2:0 16:7 1:0
group 12
entity 0 2
)";

Level expectedLevel() {
  Level level;
  level.filler = true;
  level.header = LevelHeader{7, {{16, 120}, {16, 64}}};
  LevelMap map;
  map.p8 = 1, map.columns = 8, map.offset = -4097, map.p10a = 16, map.p10b = 16, map.extra = 3;
  map.palette = {1, 2, 9, 17, 128};
  map.width = 4, map.height = 3;
  map.cells = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5};
  level.map = map;
  LevelEntities entities;
  entities.rowLength = 4;
  entities.groups = {{1, {{1, 0, {{2, 3}, {16, 1000}, {1, 1}}}, {3, 2, {{2, 0}, {16, 7}, {1, 0}}}}}, {12, {{0, 2, {}}}}};
  level.entities = entities;
  return level;
}

// A byte order mark, a CR LF line end, an empty text, every escape and
// characters of two and three bytes.
const char kTexts[] = "\xEF\xBB\xBFPlay\r\nCaf\xC3\xA9\n\ntab\\tnew\\nline \\u20ac \\\\ \xE2\x82\xAC\n";
const std::vector<std::u16string> kExpectedTexts = {u"Play", u"Caf\u00E9", u"", u"tab\tnew\nline \u20AC \\ \u20AC"};

const char kManifest[] = R"(# every kind from a source
check anims limits,durations
pack 2
0 image sheet.bmp transparent=1 check=png-order
1 sprites hero.txt sheet=0 empty=4 check=sizes,limits,png-order
2 image glyphs.png check=png-order
3 glyphs font.txt sheet=2 empty=0x20 check=glyphs,sizes,limits
4 anims hero-anims.txt sprites=1
5 level level.txt header-fields=16,16 entity-fields.1=2,16,1 entity-fields=
6 translation en.txt check=limits
7 texts en.txt check=limits
9 raw gen:test_bytes arg.text=hello type=5
10 anims gen:test_panel sprites=1 sprite-data check=box-types
pack 5 split 2 index-last
2 image photo.bmp check=png-order
pack 18 files
0 sound beep.wav check=limits
)";

struct Sources {
  ScratchFolder scratch;
  Manifest manifest;
  Sources() {
    const std::filesystem::path src = scratch.path() / "src";
    writeFile(src / "sheet.bmp", bmp(4, 3, 8, {0, 1, 2, 1, 2, 0, 0, 0, 1, 2, 2, 1}, {0xFF0000, 0x00FF00, 0x0000FF}));
    writeFile(src / "glyphs.png", fixtures::eightGlyphFont(2).sheet.png);
    writeFile(src / "photo.bmp", bmp(3, 2, 32, {1, 2, 3, 255, 4, 5, 6, 128, 7, 8, 9, 0, 10, 11, 12, 255, 13, 14, 15, 255, 16, 17, 18, 255}, {}, true));
    writeFile(src / "beep.wav", fixtures::shortSound().wav);
    writeText(src / "hero.txt", kSprites);
    writeText(src / "font.txt", kFont);
    writeText(src / "hero-anims.txt", kAnims);
    writeText(src / "level.txt", kLevel);
    writeText(src / "en.txt", kTexts);
    writeText(src / "manifest.txt", kManifest);
    manifest = readManifest(src / "manifest.txt");
  }
  Bytes built(int id) const { return buildResource(manifest, *manifest.find(id)); }
};

TEST(ManifestBuild, EachKindGivesItsWritersBytes) {
  Sources s;
  const IndexedImage sheet{4, 3, {0, 1, 2, 1, 2, 0, 0, 0, 1, 2, 2, 1}, {0xFFFF0000, 0x0000FF00, 0xFF0000FF}};
  EXPECT_EQ(s.built(2048), writePng(sheet));
  EXPECT_EQ(s.built(2049), writeSpriteSet(expectedSprites()));
  EXPECT_EQ(s.built(2050), fixtures::eightGlyphFont(2).sheet.png);
  EXPECT_EQ(s.built(2051), writeGlyphFont(expectedFont()));
  EXPECT_EQ(s.built(2052), fixtures::smallAnimationSet().bytes);
  EXPECT_EQ(s.built(2053), writeLevel(expectedLevel()));
  EXPECT_EQ(s.built(2054), writeTranslationTable(kExpectedTexts));
  EXPECT_EQ(s.built(2055), writeCanvasTextTable(kExpectedTexts));
  EXPECT_EQ(s.built(2057), (Bytes{'h', 'e', 'l', 'l', 'o'}));
  EXPECT_EQ(s.built(2058), writeAnimationSet(panelSet(), true));
  const RgbaImage photo{3, 2, {0xFF030201, 0x80060504, 0x00090807, 0xFF0C0B0A, 0xFF0F0E0D, 0xFF121110}};
  EXPECT_EQ(s.built(5122), writePng(photo));
  EXPECT_EQ(s.built(18432), fixtures::shortSound().wav);
}

TEST(ManifestBuild, BuiltFolderPassesTheValidator) {
  Sources s;
  buildResourceFolder(s.manifest, s.scratch.path() / "rsc");
  for (const char* name : {"RP2.rp", "RP5.rp", "RP5part1.rp", "RP5part2.rp", "RP18.rp", "RP18part0.wav"}) {
    EXPECT_TRUE(std::filesystem::exists(s.scratch.path() / "rsc" / name)) << name;
  }
  VMTestEnv::start();
  for (const ContentFault& f : ContentValidator(s.manifest, s.scratch.path() / "rsc").run()) ADD_FAILURE() << f.text;
}

// A link in the folder's place is replaced, never written through; pack
// files the manifest no longer makes go, other files stay.
TEST(ManifestBuild, ReplacesALinkAndStalePackFiles) {
  Sources s;
  const std::filesystem::path shared = s.scratch.path() / "shared-rsc";
  writeText(shared / "RP2.rp", "theirs");
  std::filesystem::create_directory_symlink(shared, s.scratch.path() / "rsc");
  buildResourceFolder(s.manifest, s.scratch.path() / "rsc");
  EXPECT_FALSE(std::filesystem::is_symlink(s.scratch.path() / "rsc"));
  EXPECT_EQ(readFileBytes(shared / "RP2.rp"), (Bytes{'t', 'h', 'e', 'i', 'r', 's'}));
  writeText(s.scratch.path() / "rsc" / "RP9.rp", "stale");
  writeText(s.scratch.path() / "rsc" / "RP9part3.png", "stale");
  writeText(s.scratch.path() / "rsc" / "notes.txt", "kept");
  buildResourceFolder(s.manifest, s.scratch.path() / "rsc");
  EXPECT_FALSE(std::filesystem::exists(s.scratch.path() / "rsc" / "RP9.rp"));
  EXPECT_FALSE(std::filesystem::exists(s.scratch.path() / "rsc" / "RP9part3.png"));
  EXPECT_TRUE(std::filesystem::exists(s.scratch.path() / "rsc" / "notes.txt"));
}

// A resource that cannot be built names its manifest line, the resource
// and the writer's item, and nothing is written.
TEST(ManifestBuild, FailureNamesTheLineAndWritesNothing) {
  Sources s;
  writeText(s.scratch.path() / "src" / "hero.txt", std::string(kSprites) + "sprite 0 0 0 0 0 8 0 0 0 0\n");
  try {
    buildResourceFolder(s.manifest, s.scratch.path() / "rsc");
    FAIL() << "built";
  } catch (const ContentError& e) {
    EXPECT_NE(std::string(e.what()).find("manifest.txt:5: resource 2049 (pack 2, index 1): sprite 5"), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(s.scratch.path() / "rsc"));
}

TEST(Manifest, ReadsPacksResourcesReferencesAndRules) {
  std::istringstream in(
      "check anims limits,durations\n"
      "pack 2\n"
      "0 sprites s.txt sheet=3 empty=0,2\n"
      "3 image i.bmp\n"
      "0x805 anims a.txt sprites=0 nocheck=durations check=box-types sprite-data\n"
      "check anims none\n"
      "6 anims gen:walk sprites=2048 arg.speed=2\n"
      "pack 19 files index-last\n"
      "1 level l.txt header-fields=8,8 entity-fields=1 entity-fields.4=2,3\n");
  const Manifest m = parseManifest(in, "m.txt", "/content");
  ASSERT_EQ(m.packs.size(), 2u);
  EXPECT_EQ(m.packs[0].layout, ManifestPack::Layout::Simple);
  EXPECT_EQ(m.packs[0].count(), 7);
  EXPECT_EQ(m.packs[1].layout, ManifestPack::Layout::Files);
  EXPECT_FALSE(m.packs[1].indexFirst);
  const ManifestResource& sprites = *m.find(2048);
  EXPECT_EQ(sprites.sheet, 3);
  EXPECT_EQ(sprites.empty, (std::set<int>{0, 2}));
  EXPECT_EQ(m.sourceOf(sprites), std::filesystem::path("/content/s.txt"));
  EXPECT_EQ(m.find(2051)->type, -3);
  const ManifestResource& anims = *m.find(2053);
  EXPECT_EQ(anims.sprites, 2048);
  EXPECT_TRUE(anims.spriteData);
  EXPECT_EQ(anims.rules, (std::set<Rule>{Rule::Limits, Rule::BoxTypes}));
  const ManifestResource& walk = *m.find(2054);
  EXPECT_EQ(walk.generator, "walk");
  EXPECT_TRUE(walk.rules.empty());
  EXPECT_EQ(walk.options.at("arg.speed"), "2");
  const ManifestResource& level = *m.find(19 << 10 | 1);
  EXPECT_EQ(level.headerFields, (std::vector<int>{8, 8}));
  EXPECT_EQ(level.fieldsOfEntity(4), (std::vector<int>{2, 3}));
  EXPECT_EQ(level.fieldsOfEntity(7), (std::vector<int>{1}));
  EXPECT_EQ(m.find(2049), nullptr);
}

struct Refusal {
  const char* text;
  const char* message;  // a part of what() after "m.txt:"
};

class ManifestRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(ManifestRefusal, NamesTheLine) {
  std::istringstream in(GetParam().text);
  try {
    parseManifest(in, "m.txt", ".");
    FAIL() << "accepted";
  } catch (const ContentError& e) {
    EXPECT_NE(std::string(e.what()).find(std::string("m.txt:") + GetParam().message), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Manifests, ManifestRefusal,
    testing::Values(Refusal{"0 image x.png\n", "1: a resource comes before any pack line"},
                    Refusal{"pack 2\npack 2\n", "2: pack 2 is listed twice"},
                    Refusal{"pack 5 simple\n", "1: pack 5 is read as a chunked pack"},
                    Refusal{"pack 2 split 2\n", "1: pack 2 is read as a simple pack file"},
                    Refusal{"pack 0\n", "1: pack number 0 is outside"},
                    Refusal{"pack 2 sideways\n", "1: unknown pack setting \"sideways\""},
                    Refusal{"pack 2\n0 picture x\n", "2: unknown kind \"picture\""},
                    Refusal{"pack 2\n0 raw a\n0 raw b\n", "3: index 0 is listed twice"},
                    Refusal{"pack 3 split 1\n2049 raw b\n", "2: id 2049 is not in pack 3"},
                    Refusal{"pack 2\n0 sprites s.txt\n", "2: sprites needs sheet="},
                    Refusal{"pack 2\n0 raw r\n1 sprites s.txt sheet=0\n", "3: sheet=0 is not an image of pack 2"},
                    Refusal{"pack 2\n0 image a.png check=box-types\n", "2: rule box-types does not apply to image"},
                    Refusal{"pack 2\n0 image a.png check=speed\n", "2: unknown rule \"speed\""},
                    Refusal{"pack 2\n0 raw r sheet=1\n", "2: option \"sheet=1\" does not apply to raw"},
                    Refusal{"pack 2\n0 anims a.txt sprites=1\n1 image i.png\n", "2: sprites=1 is not a sprite set"},
                    Refusal{"pack 2\n0 anims a.txt check=limits\n", "2: anims checked for limits need sprites="},
                    Refusal{"pack 2\n0 level l.txt header-fields=8,33\n", "2: field width 33 is outside 0..32"},
                    Refusal{"pack 2\n0 raw r type=200\n", "2: type byte 200 is outside -128..127"},
                    Refusal{"pack 2\n0 raw r type=1 type=2\n", "2: option type is given twice"},
                    Refusal{"check image nonsense\n", "1: unknown rule \"nonsense\""},
                    Refusal{"pack 2\n0 raw gen:\n", "2: gen: needs a generator name"}));

enum class Reader { Sprites, Glyphs, Anims, Level, Text };

struct DescriptionRefusal {
  Reader reader;
  const char* text;
  const char* message;  // a part of what() after "d.txt"
};

class DescriptionRefusals : public testing::TestWithParam<DescriptionRefusal> {};

TEST_P(DescriptionRefusals, NameTheFileAndLine) {
  const DescriptionRefusal& c = GetParam();
  try {
    const DescriptionFile file(c.text, "d.txt");
    switch (c.reader) {
      case Reader::Sprites:
        readSpriteDescription(file);
        break;
      case Reader::Glyphs:
        readGlyphDescription(file);
        break;
      case Reader::Anims:
        readAnimationDescription(file);
        break;
      case Reader::Level:
        readLevelDescription(file);
        break;
      case Reader::Text:
        readTextFile(Bytes(c.text, c.text + std::char_traits<char>::length(c.text)), "d.txt");
        break;
    }
    FAIL() << "accepted";
  } catch (const ContentError& e) {
    EXPECT_NE(std::string(e.what()).find(std::string("d.txt") + c.message), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, DescriptionRefusals,
    testing::Values(
        DescriptionRefusal{Reader::Sprites, "sprite 1 2 3\n", ":1: sprite takes 10..11 words, not 3"},
        DescriptionRefusal{Reader::Sprites, "\nsprite 0 0 0 0 1 1 0 0 0 0 square\n", ":2: unknown word \"square\""},
        DescriptionRefusal{Reader::Sprites, "sprite 0 0 0 0 1 1 0 0 0 0 attr=4\n", ":1: attr=4 is not a number in 0..3"},
        DescriptionRefusal{Reader::Sprites, "grid 2 1 1 0\n", ":1: columns 0 is outside 1..4095"},
        DescriptionRefusal{Reader::Sprites, "sprite 0 0 0 0 1 40000 0 0 0 0\n", ":1: height 40000 is outside"},
        DescriptionRefusal{Reader::Sprites, "sprites 0\n", ":1: unknown statement \"sprites\""},
        DescriptionRefusal{Reader::Glyphs, "glyph A 0 0 1 1 0 0 1\n", ": a glyph description needs its metrics line"},
        DescriptionRefusal{Reader::Glyphs, "metrics 8 6 3 8 1 0\nglyph AB 0 0 1 1 0 0 1\n", ":2: \"AB\" is not one character"},
        DescriptionRefusal{Reader::Glyphs, "metrics 8 6 3 8 1 0\nglyph U+12345 0 0 1 1 0 0 1\n",
                           ":2: \"U+12345\" is not a character of U+0000..U+FFFF"},
        DescriptionRefusal{Reader::Anims, "part 0 0 0\n", ":1: part comes before any frame"},
        DescriptionRefusal{Reader::Anims, "animation 1\nstep 0 0 0 0 speed=2\n", ":2: unknown option speed"},
        DescriptionRefusal{Reader::Anims, "frame\nbox 0 0 1 1 0 oval\n", ":2: unknown word \"oval\""},
        DescriptionRefusal{Reader::Level, "map 1 8 0 16 16\nsize 2 1\nrow 1\n", ":3: a row holds 2 cells, not 1"},
        DescriptionRefusal{Reader::Level, "map 1 8 0 16 16\nsize 1 2\nrow 0\n", ": the map has 1 rows, not its height 2"},
        DescriptionRefusal{Reader::Level, "entity 1 1\n", ":1: entity comes before the entities line"},
        DescriptionRefusal{Reader::Level, "header 7 16:x\n", ":1: field \"16:x\" is not <bits 0..32>:<unsigned value>"},
        DescriptionRefusal{Reader::Level, "filler maybe\n", ":1: filler is on or off"},
        DescriptionRefusal{Reader::Text, "ok\n\xF0\x9F\x98\x80\n", ":2: a character outside the Basic Multilingual Plane"},
        DescriptionRefusal{Reader::Text, "a\\q\n", ":1: unknown escape \\q"},
        DescriptionRefusal{Reader::Text, "\\u12\n", ":1: \\u needs four hexadecimal digits"},
        DescriptionRefusal{Reader::Text, "\\ud800\n", ":1: \\u names a surrogate"},
        DescriptionRefusal{Reader::Text, "x\n\xC3\n", ":2: malformed UTF-8 (a sequence is cut short)"},
        DescriptionRefusal{Reader::Text, "\xC0\xAF\n", ":1: malformed UTF-8 (byte 192)"},
        DescriptionRefusal{Reader::Text, "\xE0\x80\xAF\n", ":1: malformed UTF-8 (an overlong sequence)"},
        DescriptionRefusal{Reader::Text, "end\\", ":1: a backslash ends the line"}));

TEST(BmpReader, TakesEightBitPaletteAndTrueColourRowsBottomUpOrTopDown) {
  // Width 3 pads each 24-bit row to 12 bytes.
  const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  const RgbaImage expected{3, 2, {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A, 0xFF0F0E0D, 0xFF121110}};
  EXPECT_EQ(std::get<RgbaImage>(readBmp(bmp(3, 2, 24, pixels), "b.bmp")), expected);
  EXPECT_EQ(std::get<RgbaImage>(readBmp(bmp(3, 2, 24, pixels, {}, true), "b.bmp")), expected);
  const IndexedImage indexed{5, 1, {0, 1, 1, 0, 1}, {0xFF102030, 0x00405060}};
  EXPECT_EQ(std::get<IndexedImage>(readBmp(bmp(5, 1, 8, indexed.indices, {0x102030, 0x405060}), "b.bmp", 1)), indexed);
}

TEST(BmpReader, RefusesWhatItDoesNotTake) {
  const Bytes good = bmp(2, 2, 8, {0, 1, 1, 0}, {0, 0xFFFFFF});
  Bytes cut = good;
  cut.resize(cut.size() - 1);
  const std::pair<Bytes, const char*> cases[] = {
      {Bytes(60, 0), "is not a BMP file"},
      {bmp(2, 2, 4, {0x01, 0x10}, {0, 0xFFFFFF}), "has 4 bits per pixel"},
      {bmp(2, 2, 24, Bytes(12, 0), {}, false, 1), "is compressed"},
      {cut, "is cut short"},
      {bmp(2, 2, 8, {0, 1, 2, 0}, {0, 0xFFFFFF}), "pixel (0, 1) is past its colour table"},
      {bmp(0, 2, 24, {}), "is 0 x 2"},
  };
  for (const auto& [bytes, message] : cases) {
    try {
      readBmp(bytes, "b.bmp");
      ADD_FAILURE() << message << ": accepted";
    } catch (const ContentError& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("b.bmp: ") + message), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(readBmp(good, "b.bmp", 2), ContentError);
}

}  // namespace
}  // namespace contentcheck
