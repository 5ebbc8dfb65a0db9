// Sprite sets written by the sprite-set writer and read by the engine's
// sprite-set loader: one table of sets at the encoding edges (one- and
// two-byte columns of signed and unsigned values, absent groups, circles,
// empty sprites, attributes, forced layouts, 0, 1 and 4095 sprites), each
// sprite's ten values, attribute and pixels compared; and a set in a
// chunked pack whose sheet is another index of that pack.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ChunkedPackWriter.h"
#include "PackFixtures.h"
#include "RoundTrip.h"
#include "SpriteSetWriter.h"
#include "VMTestEnv.h"
#include "tq_Gob.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

using content::SpriteRecord;
using content::SpriteSet;
using contentrt::caseName;

namespace {

constexpr int kSheetWidth = 320;
constexpr int kSheetHeight = 270;

const content::IndexedImage& sheet() {
  static const content::IndexedImage image = contentrt::distinctSheet(kSheetWidth, kSheetHeight);
  return image;
}

const content::Bytes& sheetPng() {
  static const content::Bytes png = content::writePng(sheet());
  return png;
}

SpriteRecord region(int sx, int sy, int w, int h) {
  SpriteRecord r;
  r.sheetX = static_cast<int16_t>(sx);
  r.sheetY = static_cast<int16_t>(sy);
  r.width = static_cast<int16_t>(w);
  r.height = static_cast<int16_t>(h);
  return r;
}

SpriteRecord placed(int x, int y, int bx, int by, int bw, int bh, bool circle = false) {
  SpriteRecord r = region(x & 7, 3, 2, 1);
  r.x = static_cast<int16_t>(x);
  r.y = static_cast<int16_t>(y);
  r.boxX = static_cast<int16_t>(bx);
  r.boxY = static_cast<int16_t>(by);
  r.boxWidth = static_cast<int16_t>(bw);
  r.boxHeight = static_cast<int16_t>(bh);
  r.circle = circle;
  return r;
}

// Ten values and the attribute as a Gob holds them.
std::array<int32_t, 10> gobValues(tq::Gob* g) {
  return {g->x, g->y, g->width, g->height, g->boxX, g->boxY, g->circle, g->boxWidth, g->boxHeight, g->drawMode};
}

std::array<int32_t, 10> expectedValues(const SpriteRecord& r, int attribute) {
  return {r.x, r.y, r.width, r.height, r.boxX, r.boxY, r.circle ? 1 : 0, r.boxWidth, r.boxHeight, attribute};
}

// Reads `set` through the engine from pack `pack` (0: memory) at `id` and
// compares every sprite.
void expectSprites(const SpriteSet& set, int32_t id, const std::string& what) {
  SCOPED_TRACE(what);
  VMPtr<VMArray<tq::Gob>> gobs = tq::ResourcesExt::getGobs(id);
  ASSERT_EQ(gobs->length, static_cast<int32_t>(set.sprites.size()));
  for (size_t i = 0; i < set.sprites.size(); ++i) {
    const SpriteRecord& r = set.sprites[i];
    VMPtr<tq::Gob> g = gobs->get(static_cast<int32_t>(i));
    EXPECT_EQ(gobValues(g.get()), expectedValues(r, set.attributes.empty() ? 0 : set.attributes[i])) << caseName("sprite", i);
    VMPtr<javax::microedition::lcdui::Image> image = g->image;
    if (r.empty) {
      EXPECT_FALSE(image) << caseName("sprite", i);
      continue;
    }
    ASSERT_TRUE(image) << caseName("sprite", i);
    EXPECT_EQ(contentrt::surfaceColours(contentrt::pixels(image)),
              contentrt::surfaceColours(contentrt::regionOf(sheet(), r.sheetX, r.sheetY, r.width, r.height)))
        << caseName("sprite", i);
  }
}

struct Case {
  std::string what;
  SpriteSet set;
  uint16_t layout;  // the layout word the set is written with
};

std::vector<Case> cases() {
  std::vector<Case> out;
  // Only the region group, one byte each up to 255, then two.
  out.push_back({"regions in one byte", {0, {region(0, 0, 1, 1), region(255, 255, 1, 1), region(40, 3, 255, 2)}, {}, {}},
                 0x0005 | 0xF << 5});
  out.push_back({"regions in two bytes", {0, {region(0, 0, 256, 256), region(256, 256, 1, 1)}, {}, {}}, 0x0005});
  out.push_back({"regions mixed", {0, {region(256, 0, 1, 1), region(0, 268, 2, 2)}, {}, {}}, 0x0005 | 0b1100 << 5});
  // Signed one-byte edges of positions and boxes; unsigned box sizes to
  // 255.
  out.push_back({"signed -128 and 127, unsigned 255 in one byte",
                 {0,
                  {placed(-128, 127, -128, -1, 255, 255), placed(127, -128, 127, 127, 0, 3), placed(0, -1, 0, -128, 1, 0)},
                  {},
                  {}},
                 0x7FE0});
  out.push_back({"signed -129, 128, -32768, 32767 and unsigned 256 in two bytes",
                 {0,
                  {placed(-129, -32768, -129, 128, 256, -1), placed(128, 32767, 0, 0, 32767, 256),
                   placed(-32768, 0, -32768, -32768, 0, -32768)},
                  {},
                  {}},
                 0xF << 7});
  out.push_back({"circles: the flag takes the box width's column to two bytes",
                 {0, {placed(1, 2, -3, -4, 0, 5, true), placed(1, 2, 3, 4, 5, 6, true), placed(0, 0, 1, 1, 7, 7)}, {}, {}},
                 0x1FE0 | 1 << 14});
  out.push_back({"positions and boxes only, regions absent",
                 {0, {[] {
                        SpriteRecord r = placed(-5, 6, 7, 8, 9, 10);
                        r.sheetX = r.sheetY = r.width = r.height = 0;
                        r.empty = true;
                        return r;
                      }()},
                  {},
                  {}},
                 0x0002 | 0x3F << 5});
  out.push_back({"an empty sprite among others",
                 {0, {region(1, 1, 3, 2), SpriteRecord{.empty = true}, placed(-1, -1, 0, 0, 2, 2)}, {}, {}},
                 0x7FE0});
  // Attributes: every value, and the block for counts not a multiple of 4.
  out.push_back({"attributes 0 to 3 and a fifth", {0, {region(0, 0, 1, 1), region(1, 0, 1, 1), region(2, 0, 1, 1),
                  region(3, 0, 1, 1), region(4, 0, 1, 1)}, {0, 1, 2, 3, 2}, {}}, 0x0005 | 0xF << 5});
  // Forced layouts: every column two bytes; every group present though
  // zero; one group absent and the others one byte.
  {
    Case c = out[3];
    c.what = "layout 0 forced";
    c.set.layout = c.layout = 0;
    out.push_back(c);
    Case d = out[0];
    d.what = "every group present, one byte, forced";
    d.set.layout = d.layout = 0x7FE0;
    out.push_back(d);
  }
  out.push_back({"no sprites", {0, {}, {}, {}}, 0x0007});
  out.push_back({"one sprite", {0, {placed(3, 4, 5, 6, 7, 8)}, {2}, {}}, 0x7FE0});
  {
    Case many{"4095 sprites", {0, {}, {}, {}}, 0x0004 | 0b111011 << 5};
    for (int i = 0; i < 4095; ++i) {
      SpriteRecord r = region(i % 300, i / 300, 1 + i % 3, 1 + i % 2);
      r.x = static_cast<int16_t>(i % 256 - 128);
      r.y = static_cast<int16_t>(-(i % 100));
      many.set.sprites.push_back(r);
      many.set.attributes.push_back(static_cast<uint8_t>(i * 7 % 4));
    }
    out.push_back(many);
  }
  return out;
}

TEST(SpriteSetRoundTrip, EverySpriteReadsBackAtTheEncodingEdges) {
  VMTestEnv::start();
  for (const Case& c : cases()) {
    const content::Bytes bytes = content::writeSpriteSet(c.set);
    ASSERT_GE(bytes.size(), 9u);
    EXPECT_EQ(bytes[5] << 8 | bytes[6], c.layout) << c.what;  // the encoding this case is meant to reach
    contentrt::loadPack({{0, sheetPng()}, {0, bytes}});
    expectSprites(c.set, 1, c.what);
  }
}

// The sheet index is of the set's own pack: a set in chunked pack 3 whose
// sheet is its index 5, beside a decoy image at index 0 of the pack the
// test loaded before.
TEST(SpriteSetRoundTrip, TheSheetIsFoundInTheSetsOwnPack) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  SpriteSet set{5, {region(10, 20, 4, 3), placed(-1, 2, 0, 0, 3, 3)}, {1, 3}, {}};
  std::vector<content::PackResource> resources(6);
  resources[1] = {0, content::writeSpriteSet(set)};
  resources[5] = {-3, sheetPng()};
  resources[0] = {-3, content::writePng(content::IndexedImage{1, 1, {0}, {0xFF00FF00}})};
  for (const auto& layout : {content::ChunkedPackLayout::split(2), content::ChunkedPackLayout::fileTable({-3, -1, -1, -1, -1, -3})}) {
    contentrt::putFiles(folder, content::writeChunkedPack(3, resources, layout));
    tq::Resources::closePack();
    expectSprites(set, 3 << 10 | 1, layout.data == content::ChunkedPackLayout::Data::Split ? "split" : "file table");
  }
}

}  // namespace
