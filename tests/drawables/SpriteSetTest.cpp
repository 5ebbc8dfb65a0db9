// The sprite-set reader: layout words (two- and one-byte columns, absent
// groups), signed and unsigned one-byte values, the attribute block, the
// sheet of the set's own pack, empty sets, empty sprites and cut sets. The
// sets are made by hand with the layout word each case names, also where
// the content writer would choose another or refuse the values.

#include <gtest/gtest.h>

#include <vector>

#include "DrawTestSupport.h"
#include "JavaTestSupport.h"
#include "SimplePackWriter.h"
#include "VMTestEnv.h"
#include "java_io_EOFException.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Gob.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

using namespace draw_test;
using drawable_fixtures::spriteSetBytes;
using drawable_fixtures::SpriteValues;
using pack_fixtures::ProgramFolder;
using tq::Gob;

namespace {

std::vector<int32_t> fields(const VMPtr<Gob>& g) {
  return {g->x, g->y, g->width, g->height, g->boxX, g->boxY, g->boxWidth, g->boxHeight, g->circle, g->drawMode};
}

// Pack 2: the sheet (2048), then each set (2049 ...).
VMPtr<VMArray<Gob>> loadSet(ProgramFolder& folder, const Bytes& set) {
  tq::Resources::closePack();  // the next id reads the file anew
  folder.put("RP2.rp", content::writeSimplePack({{0, sheetPng()}, {0, set}}));
  return tq::ResourcesExt::getGobs(2049);
}

TEST(SpriteSet, TwoByteColumns) {
  ProgramFolder folder;
  VMTestEnv::start();
  const SpriteValues a = sprite(-1, -2, 0, 0, 2, 1, 1, 2, 0x8005, 6);
  const SpriteValues b = sprite(300, -300, 1, 1, 3, 1, -7, 8, 9, 10);
  const Bytes set = spriteSetBytes(0, 0, {a, b});
  ASSERT_EQ(set.size(), 9u + 40u);  // value v of sprite i at 2 x (v x N + i)
  VMPtr<VMArray<Gob>> gobs = loadSet(folder, set);
  ASSERT_EQ(gobs->length, 2);
  EXPECT_EQ(fields(gobs->get(0)), (std::vector<int32_t>{-1, -2, 2, 1, 1, 2, 5, 6, 1, 0}));
  EXPECT_EQ(fields(gobs->get(1)), (std::vector<int32_t>{300, -300, 3, 1, -7, 8, 9, 10, 0, 0}));
  EXPECT_EQ(pixels(gobs->get(0)->image), (std::vector<uint32_t>{kRed, kGreen}));
  EXPECT_EQ(pixels(gobs->get(1)->image), (std::vector<uint32_t>{kBlue, kGreen, kRed}));
  EXPECT_NE(gobs->get(0)->image.get(), gobs->get(1)->image.get());
  EXPECT_FALSE(Gob::pixelTable);
}

TEST(SpriteSet, LayoutWords) {
  ProgramFolder folder;
  VMTestEnv::start();
  // All groups absent: every value 0, whatever the block holds.
  const Bytes absent = spriteSetBytes(0, 0x0007, {sprite(1, 2, 3, 4, 5, 6), sprite(1, 1, 1, 1, 1, 1)});
  VMPtr<VMArray<Gob>> none = loadSet(folder, absent);
  ASSERT_EQ(none->length, 2);
  EXPECT_EQ(fields(none->get(1)), (std::vector<int32_t>(10, 0)));
  EXPECT_FALSE(none->get(0)->image);

  // Group 0 absent, values 2 and 3 one byte (bits 5 and 6), the rest two.
  const Bytes narrow = spriteSetBytes(0, 0x0001 | 0x0020 | 0x0040, {sprite(9, 9, 3, 1, 1, 1, 4, 5, 6, 7)});
  ASSERT_EQ(narrow.size(), 9u + 2u + 12u);
  VMPtr<VMArray<Gob>> gobs = loadSet(folder, narrow);
  EXPECT_EQ(fields(gobs->get(0)), (std::vector<int32_t>{0, 0, 1, 1, 4, 5, 6, 7, 0, 0}));
  EXPECT_EQ(pixels(gobs->get(0)->image), (std::vector<uint32_t>{kRed}));

  // One-byte values: 0, 1, 6 and 7 signed, 8 and 9 unsigned (no circle
  // flag in one byte).
  const uint16_t oneByte = 0x0020 | 0x0040 | 0x0800 | 0x1000 | 0x2000 | 0x4000;
  VMPtr<VMArray<Gob>> signs = loadSet(folder, spriteSetBytes(0, oneByte, {sprite(0xFF, 0x80, 0, 0, 1, 1, 0xFF, 0xFE, 0x85, 0xFF)}));
  EXPECT_EQ(fields(signs->get(0)), (std::vector<int32_t>{-1, -128, 1, 1, -1, -2, 133, 255, 0, 0}));
}

TEST(SpriteSet, AttributesAndEmptySprites) {
  ProgramFolder folder;
  VMTestEnv::start();
  const Bytes attributes = {0xE4, 0x01};
  const Bytes set = spriteSetBytes(
      0, 0,
      {sprite(0, 0, 0, 0, 1, 1), sprite(0, 0, 1, 0, 1, 1), sprite(0, 0, 0, 0, 0, 8), sprite(0, 0, 3, 1, 1, 1),
       sprite(0, 0, 0, 0, 1, 1)},
      &attributes);
  VMPtr<VMArray<Gob>> gobs = loadSet(folder, set);
  ASSERT_EQ(gobs->length, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(gobs->get(i)->drawMode, i < 4 ? i : 1) << i;
  // The 0 x 8 sprite has no image and paints nothing.
  EXPECT_FALSE(gobs->get(2)->image);
  VMPtr<Image> target = blackImage(4, 4);
  gobs->get(2)->paint(target->getGraphics(), 0, 0, 0);
  EXPECT_EQ(pixels(target), std::vector<uint32_t>(16, kBlack));
  EXPECT_EQ(pixels(gobs->get(3)->image), (std::vector<uint32_t>{kRed}));
}

TEST(SpriteSet, TheSheetLiesInTheSetsPack) {
  ProgramFolder folder;
  VMTestEnv::start();
  // Pack 10: sheet at index 0, the set at index 1 with stored index 0.
  folder.put("RP10.rp", content::writeSimplePack({{0, sheetPng()}, {0, spriteSetBytes(0, 0, {sprite(0, 0, 2, 0, 2, 1)})}}));
  VMPtr<VMArray<Gob>> gobs = tq::ResourcesExt::getGobs(10 * 1024 + 1);
  EXPECT_EQ(tq::Resources::gobImageId, 10 * 1024);
  EXPECT_EQ(pixels(gobs->get(0)->image), (std::vector<uint32_t>{kBlue, kWhite}));
  // No sprites: an empty array after the sheet was read.
  EXPECT_EQ(loadSet(folder, spriteSetBytes(0, 0, {}))->length, 0);
  EXPECT_EQ(tq::Resources::gobImageId, 2048);
}

TEST(SpriteSet, CutAndBrokenSetsThrowToTheCaller) {
  ProgramFolder folder;
  VMTestEnv::start();
  const Bytes whole = spriteSetBytes(0, 0, {sprite(0, 0, 0, 0, 2, 1)});
  java_test::thrownMessage<java::io::EOFException>([&] { loadSet(folder, Bytes(whole.begin(), whole.end() - 1)); });
  // A region outside the sheet.
  java_test::thrownMessage<java::lang::IllegalArgumentException>(
      [&] { loadSet(folder, spriteSetBytes(0, 0, {sprite(0, 0, 3, 0, 2, 1)})); });
  EXPECT_FALSE(Gob::pixelTable);  // not kept for a failed set
}

}  // namespace
